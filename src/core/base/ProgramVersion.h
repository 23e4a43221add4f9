#pragma once
// The version the program and kalvex-cli report: the project version and, when built
// from a git checkout, the commit, e.g. "2.02 (cfd6504)".

const char* ProgramVersionText();
