#pragma once
// Where the window tests write their pictures for a look by eye (QM_GRAB_DIR, else the current
// directory), and the dark desktop palette they are also grabbed in.

#include <QColor>
#include <QPalette>
#include <cstdlib>
#include <filesystem>

namespace uitest {

inline std::filesystem::path GrabDirectory() {
    const char* directory = std::getenv("QM_GRAB_DIR");
    return directory ? std::filesystem::path(directory) : std::filesystem::current_path();
}

inline QPalette DarkPalette() {
    QPalette palette;
    const auto set = [&](QPalette::ColorRole role, const char* active, const char* disabled) {
        palette.setColor(QPalette::Active, role, QColor(active));
        palette.setColor(QPalette::Inactive, role, QColor(active));
        palette.setColor(QPalette::Disabled, role, QColor(disabled));
    };
    set(QPalette::Window, "#2d2f33", "#2d2f33");
    set(QPalette::WindowText, "#e6e6e6", "#7c7f85");
    set(QPalette::Base, "#1f2125", "#26282c");
    set(QPalette::AlternateBase, "#26282c", "#26282c");
    set(QPalette::Text, "#e6e6e6", "#7c7f85");
    set(QPalette::Button, "#35383d", "#35383d");
    set(QPalette::ButtonText, "#e6e6e6", "#7c7f85");
    set(QPalette::Highlight, "#2f65ca", "#44474d");
    set(QPalette::HighlightedText, "#ffffff", "#9a9da3");
    set(QPalette::PlaceholderText, "#8a8d93", "#6a6d73");
    set(QPalette::Link, "#8ab4f8", "#6a7d9c");
    return palette;
}

}  // namespace uitest
