// File names as the UTF-8 text the program reads and prints.
//
// On Windows a path is UTF-16 and std::filesystem converts a std::string through the ANSI
// code page, which turns a Japanese name into another one (or throws); the conversion is
// made through UTF-8 there. Elsewhere a path is its bytes.
#pragma once

#include <filesystem>
#include <string>

namespace sorvane {

inline std::string pathText(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

inline std::filesystem::path pathFromText(const std::string& text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(text);
#endif
}

} // namespace sorvane
