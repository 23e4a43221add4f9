#pragma once
// Replacing a file's contents so that it is either wholly old or wholly new: the bytes go
// to a temporary file in the same folder, which is synced and then renamed over the file.

#include <string>
#include <string_view>

// False when any step fails (the old file then stays as it was and no temporary file is
// left). A file that exists but may not be written is not replaced; a symbolic link is
// followed, so the file it points to is replaced and the link stays. A successful
// replacement removes the temporary files that writes killed before their rename left.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);
