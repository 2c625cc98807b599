#pragma once

// The program's name as the user sees it: window captions and message-box titles.
inline constexpr char kApplicationName[] = "Clipmint";
