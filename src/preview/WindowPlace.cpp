#include "preview/WindowPlace.h"

#include "platform/IniFile.h"
#include "platform/PathText.h"

#include <charconv>

namespace fmb {
namespace {

constexpr const char* kSection = "PREVIEW";
constexpr int kSmallest = 100; // pixels: a smaller window was not meant

std::optional<int> Number(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

} // namespace

WindowPlace::WindowPlace(std::string settingsFolder)
    : m_settingsFolder(std::move(settingsFolder)) {}

std::optional<WindowRect> WindowPlace::Read() const {
    const IniFile file(ToFsPath(m_settingsFolder + kFileName));
    const auto left = Number(file.Get(kSection, "LEFT"));
    const auto top = Number(file.Get(kSection, "TOP"));
    const auto width = Number(file.Get(kSection, "WIDTH"));
    const auto height = Number(file.Get(kSection, "HEIGHT"));
    if (!left || !top || !width || !height || *width < kSmallest || *height < kSmallest)
        return std::nullopt;
    return WindowRect{*left, *top, *width, *height};
}

bool WindowPlace::Save(const WindowRect& rect) const {
    if (Read() == rect)
        return true;
    IniFile file(ToFsPath(m_settingsFolder + kFileName));
    return file.Set(kSection, "LEFT", std::to_string(rect.left)) &&
           file.Set(kSection, "TOP", std::to_string(rect.top)) &&
           file.Set(kSection, "WIDTH", std::to_string(rect.width)) &&
           file.Set(kSection, "HEIGHT", std::to_string(rect.height)) && file.Save();
}

} // namespace fmb
