#include "app/SettingsFile.h"

#include "base/LongPath.h"
#include "platform/FileIO.h"

#include <windows.h>

namespace tabulon {

SettingsFile::SettingsFile(const std::wstring& workFolder)
    : path_(workFolder + kRelativePath), aside_(workFolder + kAsideRelativePath) {}

ProgramSettings SettingsFile::Load() {
    problem_.clear();
    if (!FileExists(path_)) return {};
    std::optional<ProgramSettings> settings;
    try {
        settings = ParseSettings(ReadWholeFile(path_));
    } catch (const Exception& e) {
        problem_ = L"无法读取设置文件，选项按默认（关闭）处理：" + e.Message();
        return {};
    }
    if (!settings)
        problem_ = L"设置文件“" + path_ + L"”不是本程序能读懂的格式，选项按默认（关闭）处理。";
    return settings.value_or(ProgramSettings{});
}

void SettingsFile::Save(const ProgramSettings& settings) {
    if (!problem_.empty() && FileExists(path_)) {
        const std::wstring from = ExtendedLengthPath(FullFilePath(path_));
        const std::wstring to = ExtendedLengthPath(FullFilePath(aside_));
        if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
            ThrowCreateError(FullFilePath(aside_), ::GetLastError());
    }
    WriteFileReplacing(path_, FormatSettings(settings));
    problem_.clear();
}

} // namespace tabulon
