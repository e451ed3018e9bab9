// Every image of the PNG suite decodes, and the interlaced and plain
// versions of each basic image decode to the same pixels.
#include "PngTestUtil.h"

#include <filesystem>

using namespace tabulon;
using namespace tabulon::test;

namespace {

std::filesystem::path SuiteFolder() {
    return std::filesystem::path(TABULON_TESTDATA) / "pngsuite";
}

std::unique_ptr<TPngGraphic> DecodeFile(const std::filesystem::path& path) {
    const Bytes bytes = ReadFileBytes(path.string());
    return Decode(bytes);
}

TEST(PngSuite, EveryFileDecodes) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SuiteFolder())) {
        if (entry.path().extension() != ".png") continue;
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        std::unique_ptr<TPngGraphic> image;
        try {
            image = DecodeFile(entry.path());
        } catch (const Exception& e) {
            ADD_FAILURE() << e.ClassName() << ": " << e.what();
            continue;
        }
        EXPECT_GT(image->PixelWidth(), 0u);
        EXPECT_EQ(TypeCodeText(image->ChunkList().Item(image->ChunkList().Count() - 1)->TypeCode()),
                  "IEND");
    }
    EXPECT_GE(count, 90);
}

TEST(PngSuite, InterlacedMatchesPlain) {
    int pairs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SuiteFolder())) {
        const std::string name = entry.path().filename().string();
        // basi*, s??i* have a non-interlaced twin with 'n' in the same place.
        size_t at = std::string::npos;
        if (name.rfind("basi", 0) == 0) at = 3;
        if (name.size() > 4 && name[0] == 's' && name[3] == 'i') at = 3;
        if (at == std::string::npos) continue;
        std::string twin = name;
        twin[at] = 'n';
        SCOPED_TRACE(name);
        EXPECT_EQ(DecodedRgba(*DecodeFile(entry.path())),
                  DecodedRgba(*DecodeFile(SuiteFolder() / twin)));
        ++pairs;
    }
    EXPECT_GE(pairs, 30);
}

TEST(PngSuite, SplitImageDataMatchesOneChunk) {
    const auto whole = DecodedRgba(*DecodeFile(SuiteFolder() / "oi1n2c16.png"));
    for (const char* name : {"oi2n2c16.png", "oi4n2c16.png", "oi9n2c16.png"})
        EXPECT_EQ(DecodedRgba(*DecodeFile(SuiteFolder() / name)), whole) << name;
}

} // namespace
