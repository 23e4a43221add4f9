#pragma once
// A push button that shows a picture, with a grey copy of it while disabled; without a
// picture it shows its short second caption instead.

#include <QImage>
#include <QPixmap>
#include <QPushButton>

enum class TXPButtAlignment { Left, Right, Top, Bottom, Center };

class TXPButton : public QPushButton {
    Q_OBJECT
public:
    explicit TXPButton(QWidget* parent = nullptr);

    QString Caption2() const { return caption2; }
    void SetCaption2(const QString& text);

    const QImage& Picture() const { return picture; }
    void SetPicture(const QImage& image) { picture = image; }

    TXPButtAlignment Alignment() const { return alignment; }
    void SetAlignment(TXPButtAlignment value) { alignment = value; }

    int Margin() const { return margin; }
    void SetMargin(int value) { margin = value; }

    // Makes the normal and the disabled picture and the margin from the properties.
    void SetImage();

    // The picture as drawn now: the grey copy while disabled. Null without a picture.
    QPixmap ShownPicture() const;
    const QImage& GreyPicture() const { return greyPicture; }

    // The grey copy: each pixel becomes (rounded mean of red, green, blue) / 2 + 96.
    static QImage MakeGreyCopy(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect PictureRect() const;

    QString caption2;
    QImage picture;
    QImage greyPicture;
    QPixmap normalPixmap;
    QPixmap disabledPixmap;
    TXPButtAlignment alignment = TXPButtAlignment::Left;
    int margin = -1;
};
