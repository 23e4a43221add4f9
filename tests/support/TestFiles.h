#pragma once
// Writing real files for the tests.

#include <string>
#include <string_view>

// Writes the bytes exactly as given, creating missing parent directories.
void WriteTestFile(const std::string& path, std::string_view bytes);

std::string ReadTestFile(const std::string& path);
