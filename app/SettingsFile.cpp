#include "app/SettingsFile.h"

#include "base/LongPath.h"
#include "base/Texts.h"
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
        problem_ = SettingsUnreadableText(e.Message());
        return {};
    }
    if (!settings) problem_ = SettingsNotUnderstoodText(path_);
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
