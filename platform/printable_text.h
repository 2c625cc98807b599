#pragma once

#include <string>
#include <string_view>

// text made fit for one line: control characters and bytes that are not UTF-8 are written as C
// escapes ("\n", "\t", "\xFF"), so that a file name holding a line break keeps its message on
// one line, and every name can be told apart.
std::string Printable(std::string_view text);
