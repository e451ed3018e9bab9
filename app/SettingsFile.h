#pragma once
// Reading and writing the settings file (app/Settings.h) in the work folder.
#include "app/Settings.h"

#include <string>

namespace tabulon {

class SettingsFile {
  public:
    static constexpr const wchar_t* kRelativePath = L"Data\\Settings.txt";
    // Where a settings file that could not be read goes before a new one
    // takes its place.
    static constexpr const wchar_t* kAsideRelativePath = L"Data\\Settings.unreadable.txt";

    // `workFolder` ends with a backslash.
    explicit SettingsFile(const std::wstring& workFolder);

    const std::wstring& Path() const { return path_; }
    // The settings; the defaults when there is no file, and also when the
    // file cannot be read or is not a settings file: Problem() then says so
    // in a sentence for the user.
    ProgramSettings Load();
    const std::wstring& Problem() const { return problem_; }
    // Writes the settings through a temporary file. A file that could not be
    // read is first set aside under kAsideRelativePath, so that nothing of
    // it is lost unseen. Throws EFCreateError (the file then keeps what it
    // held).
    void Save(const ProgramSettings& settings);

  private:
    std::wstring path_, aside_;
    std::wstring problem_;
};

} // namespace tabulon
