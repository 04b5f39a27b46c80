#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "app/program_directory.h"
#include "commands/commands.h"

namespace fs = std::filesystem;

namespace {

// A window whose picture box holds the given bytes.
class PictureOnly : public PropertyAccess {
public:
    explicit PictureOnly(ByteSet picture) : picture_(std::move(picture)) {}
    PropertyValue ReadProperty(ControlName control, int number) const override
    {
        if (control == ControlName::表白 && number == PropertyPicture) return picture_;
        return std::monostate{};
    }
    void WriteProperty(ControlName, int, const PropertyValue&) override {}

private:
    ByteSet picture_;
};

std::set<fs::path> SavedPictures()
{
    std::set<fs::path> found;
    for (const auto& entry : fs::directory_iterator(ProgramDirectory())) {
        if (std::regex_match(entry.path().filename().string(), std::regex("[1-9][0-9]{4,6}\\.jpg"))) {
            found.insert(entry.path());
        }
    }
    return found;
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(SaveCommand, WritesThePictureBytesIntoNumberedFiles)
{
    ASSERT_TRUE(PrepareProcess());
    for (const fs::path& old : SavedPictures()) fs::remove(old);

    PictureOnly empty{ByteSet{}};
    OnSaveClicked(empty);
    auto saved = SavedPictures();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(fs::file_size(*saved.begin()), 0u);
    fs::remove(*saved.begin());

    const std::string html = "<html>404 \xB2\xBB\xB4\xE6\xD4\xDA</html>";
    PictureOnly page{ToByteSet(html)};
    OnSaveClicked(page);
    OnSaveClicked(page);  // same millisecond: reseeded differently, so a second file
    saved = SavedPictures();
    ASSERT_EQ(saved.size(), 2u);
    for (const fs::path& path : saved) {
        EXPECT_EQ(Read(path), html);
        const long number = std::stol(path.stem().string());
        EXPECT_GE(number, 10000);
        EXPECT_LE(number, 9999999);
        fs::remove(path);
    }
}
