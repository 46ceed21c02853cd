#include "rtl/FormStreams.h"
#include "rtl/Resources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace vcl;

namespace {

std::string sourceFile(const std::string& name) {
    std::ifstream f(std::string(QUIMBEL_RESOURCE_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

} // namespace

TEST(EmbeddedResources, FilesOfAStaticLibraryAreRegistered) {
    TResourceData blob = FindResourceData("RCDATA", "Blob");
    std::string expected = sourceFile("blob.bin");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(blob.Data), blob.Size), expected);
    TResourceData empty = FindResourceData("TEXT", "EMPTY");
    EXPECT_EQ(empty.Size, 0u);
    EXPECT_THROW(FindResourceData("RCDATA", "NOPE"), EResNotFound);
}

TEST(EmbeddedResources, TextFormIsEmbeddedAsBinaryUnderItsClassName) {
    TResourceStream form("TSAMPLEFORM", "RCDATA");
    TMemoryStream text;
    ObjectBinaryToText(&form, &text);
    std::vector<uint8_t> b = text.Bytes();
    EXPECT_EQ(std::string(b.begin(), b.end()), sourceFile("sample.dfm"));
    EXPECT_TRUE(ResourceExists("RCDATA", "OTHERNAME"));
}
