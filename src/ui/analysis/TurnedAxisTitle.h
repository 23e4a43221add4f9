#pragma once
// The right value axis' title turned like the left one, reading from bottom to top; the
// charting library turns it the other way.

class QCPAxis;

// To be called before the axis is styled: its drawing settings so far are taken over.
void TurnTitleLikeLeftAxis(QCPAxis& rightAxis);
