#pragma once

#include <string>
#include <string_view>

namespace tarvo {

// "A1" .. "IV65536"; empty when the row is outside 1..65536 or the column
// outside 1..256, the size of the oldest sheet format the client writes.
std::string cellAddress(int row, int column);

// The path a workbook copy is saved under: ".xls" appended when the last part
// of the path has no extension. Both "\" and "/" end a folder name, so a dot
// in a folder ("/home/ann/my.dir/run") is not taken for an extension.
std::string copyPathWithExtension(std::string_view path);

}  // namespace tarvo
