#pragma once
// Windows-1252 ↔ UTF-8. Log files and the settings file are written in Windows-1252;
// inside the program every text is UTF-8.

#include <string>
#include <string_view>

std::string Cp1252ToUtf8(std::string_view bytes);

// False when a character has no Windows-1252 byte (or the input is not valid UTF-8).
bool TryUtf8ToCp1252(std::string_view utf8, std::string& bytes);

bool IsValidUtf8(std::string_view bytes);

// A log file's bytes as UTF-8: with a UTF-8 byte-order mark (removed), or when the
// bytes are valid UTF-8 holding multi-byte sequences, they are UTF-8 already;
// otherwise they are Windows-1252.
std::string DecodeLogText(std::string_view bytes);
