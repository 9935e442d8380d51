#include "model/helpers/AsciiText.h"

std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::size_t FindExtensionDot(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string_view::npos;
    return dot;
}

std::string_view PathExtension(std::string_view path) {
    const std::size_t dot = FindExtensionDot(path);
    return dot == std::string_view::npos ? std::string_view() : path.substr(dot);
}

std::string_view PathWithoutExtension(std::string_view path) {
    return path.substr(0, FindExtensionDot(path));
}
