// The path of a file named in a dialog. Windows paths are UTF-16 and are made from the
// name's own characters (std::string would pass through the ANSI code page); elsewhere the
// bytes the caller made of the name are the path.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace sorvane::ui {

inline std::filesystem::path dialogPath([[maybe_unused]] const QString& name,
                                        [[maybe_unused]] const std::string& bytes) {
#ifdef _WIN32
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(bytes);
#endif
}

} // namespace sorvane::ui
