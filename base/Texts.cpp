#include "base/Texts.h"

#include <cstdio>

namespace tabulon {

// Start-up

std::wstring NoteOpenElsewhereText(const std::wstring& noteFile) {
    return L"这份便签已在另一个 Tabulon 中打开：\n" + noteFile;
}

std::wstring WorkFolderMovedText(const std::wstring& workFolder, const std::wstring& noteFile) {
    return L"Tabulon 所在的文件夹不能写入，便签和桌面图片改存在：\n" + workFolder +
           L"\n\n便签文件：" + noteFile;
}

// Main window

std::wstring DateLineText(int year, int month, int day, int weekday) {
    static constexpr const wchar_t* kDayNames[7] = {L"日", L"一", L"二", L"三",
                                                    L"四", L"五", L"六"};
    return L"今天是 " + std::to_wstring(year) + L"年" + std::to_wstring(month) + L"月" +
           std::to_wstring(day) + L"日(" + kDayNames[weekday] + L")";
}

std::wstring WithShortcutText(const std::wstring& tip, const std::wstring& shortcut) {
    return tip + L" (" + shortcut + L")";
}

// The note and its file

std::wstring NoteBackFromAsideText(const std::wstring* historyFolder) {
    return std::wstring(L"上次未能写入便签的文字曾另存一旁，现在已放回编辑框中。") +
           (historyFolder ? L"\n\n便签原来的文字保存为历史版本（“选项”菜单中的“历史版本”），"
                            L"位于：\n" +
                                *historyFolder
                          : std::wstring());
}

std::wstring HistoryNotKeptText(const std::wstring& reason) {
    return L"便签的历史版本没有保存，便签本身照常保存。\n\n" + reason;
}

std::wstring NoteChangedOutsideText(const std::wstring& keptCopy) {
    return L"便签文件在 Tabulon 之外被改动过，而编辑框中的文字也有改动。"
           L"编辑框中的文字保存在便签文件中，另一方的版本另存在：\n" +
           keptCopy;
}

std::wstring NoteUnreadableText(const std::wstring& noteFile, const std::wstring& sideFile) {
    return L"便签文件“" + noteFile +
           L"”现在无法读取。为免覆盖其中的内容，Tabulon 不会改写它，"
           L"直到能再次读取为止。\n\n您输入的文字另存在：\n" +
           sideFile;
}

std::wstring SetAsideFailedText(const std::wstring& reason) {
    return kSetAsideFailedText + (L"\n\n" + reason);
}

// The settings file

std::wstring SettingsUnreadableText(const std::wstring& reason) {
    return L"无法读取设置文件，选项按默认（关闭）处理：" + reason;
}

std::wstring SettingsNotUnderstoodText(const std::wstring& settingsFile) {
    return L"设置文件“" + settingsFile + L"”不是本程序能读懂的格式，选项按默认（关闭）处理。";
}

// The history window

std::wstring ByteCountText(unsigned bytes) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%u 字节", bytes);
    return text;
}

// The user's own picture under the note

namespace {

const wchar_t kBackgroundKept[] = L"桌面背景保持不变。";
const wchar_t kOnDesktopCopy[] = L"，便笺贴在第一次添加时保存的桌面图片副本上。";

} // namespace

std::wstring PictureUnreadableText(const std::wstring& picture, const wchar_t* reason) {
    return L"无法读取图片“" + picture + L"”：" + reason + L"。";
}

std::wstring PictureTooLargeForScreenText(const std::wstring& picture) {
    return L"内存不够，无法把图片“" + picture + L"”铺到屏幕上。" + kBackgroundKept;
}

std::wstring BackgroundKeptText(const std::wstring& failure) {
    return failure + kBackgroundKept;
}

std::wstring OnDesktopCopyText(const std::wstring& failure) {
    // The failure's full stop gives way to the comma of what follows.
    return failure.substr(0, failure.size() - 1) + kOnDesktopCopy;
}

std::wstring UnknownSourceOnDesktopCopyText() {
    return L"原来的桌面图片来自幻灯片放映或 Windows 聚焦" + std::wstring(kOnDesktopCopy);
}

// Pinning and restoring the wallpaper

std::wstring ColorNotRestoredText(const std::wstring& reason) {
    return L"原来的背景颜色无法恢复。" + reason;
}

std::wstring PositionNotRestoredText(const std::wstring& reason) {
    return L"原来的图片位置无法恢复。" + reason;
}

std::wstring PictureNotRecordedText(const std::wstring& place) {
    return place + L"原来的图片在添加便签时未能读出，无法恢复。";
}

std::wstring PictureGoneText(const std::wstring& place, const std::wstring& picture) {
    return place + L"的图片已不存在，无法恢复：\n" + picture;
}

std::wstring PictureNotRestoredText(const std::wstring& place, const std::wstring& picture,
                                    const std::wstring& reason) {
    return place + L"的图片无法恢复：\n" + picture + reason;
}

} // namespace tabulon
