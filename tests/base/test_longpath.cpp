// The extended-length form of long full paths (portable string rules).
#include "base/LongPath.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

std::wstring Folder(const std::wstring& root, size_t length) {
    std::wstring path = root;
    while (path.size() < length)
        path += L"长路径文件夹\\";
    return path;
}

TEST(LongPath, ShortPathsStayAsTheyAre) {
    EXPECT_EQ(ExtendedLengthPath(L"C:\\Tabulon\\Data\\content.ini"),
              L"C:\\Tabulon\\Data\\content.ini");
    const std::wstring edge(kClassicPathLimit - 1, L'a');
    EXPECT_EQ(ExtendedLengthPath(L"C:\\" + edge.substr(3)), L"C:\\" + edge.substr(3));
}

TEST(LongPath, ALongDrivePathGetsThePrefix) {
    const std::wstring full = Folder(L"C:\\Users\\u\\Downloads\\", 300) + L"Data\\content.ini";
    const std::wstring ext = ExtendedLengthPath(full);
    EXPECT_EQ(ext, L"\\\\?\\" + full);
    EXPECT_EQ(WithoutExtendedPrefix(ext), full);
}

TEST(LongPath, ALongNetworkPathGetsTheUncPrefix) {
    const std::wstring full = Folder(L"\\\\server\\share\\", 300) + L"Mix.bmp";
    const std::wstring ext = ExtendedLengthPath(full);
    EXPECT_EQ(ext, L"\\\\?\\UNC\\server\\share\\" + full.substr(15));
    EXPECT_EQ(WithoutExtendedPrefix(ext), full);
}

TEST(LongPath, ForwardSlashesBecomeBackslashesBecauseThePrefixedFormIsLiteral) {
    std::wstring full = Folder(L"D:/notes/", 270) + L"a.ini";
    const std::wstring ext = ExtendedLengthPath(full);
    EXPECT_EQ(ext.find(L'/'), std::wstring::npos);
    EXPECT_EQ(ext.substr(0, 10), L"\\\\?\\D:\\not");
}

TEST(LongPath, ExtendedAndDevicePathsAndRelativeOnesAreLeftAlone) {
    const std::wstring tail(300, L'x');
    EXPECT_EQ(ExtendedLengthPath(L"\\\\?\\C:\\" + tail), L"\\\\?\\C:\\" + tail);
    EXPECT_EQ(ExtendedLengthPath(L"\\\\.\\pipe\\" + tail), L"\\\\.\\pipe\\" + tail);
    EXPECT_EQ(ExtendedLengthPath(L"relative\\" + tail), L"relative\\" + tail);
    EXPECT_EQ(WithoutExtendedPrefix(L"C:\\a"), L"C:\\a");
}

} // namespace
} // namespace tabulon
