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

TEST(EmbeddedResources, BelongToTheirModuleWithTheirLanguage) {
    static const int inThisProgram = 0;
    const HMODULE program = FindHInstance(&inThisProgram);
    ASSERT_NE(program, 0u);
    EXPECT_EQ(FindHInstance(&program), 0u); // the stack belongs to no module

    TResourceData empty = FindResourceData(program, "TEXT", "Empty");
    EXPECT_EQ(empty.Language, 1033);
    EXPECT_EQ(empty.Module, program);
    EXPECT_EQ(FindResourceData("RCDATA", "BLOB").Language, LANG_NEUTRAL);
    EXPECT_THROW(FindResourceData(program + 1, "TEXT", "Empty"), EResNotFound);

    // What a package registers from its table is found first, and only until it is dropped.
    static const uint8_t bytes[] = {1, 2, 3};
    const TResourceEntry entry{"RCDATA", "Blob", 1031, bytes, sizeof bytes};
    const TResourceEntry* const table[] = {&entry, nullptr};
    RegisterModuleResources(program + 1, table);
    EXPECT_EQ(FindResourceData("RCDATA", "blob").Data, bytes);
    EXPECT_EQ(FindResourceData(program + 1, "RCDATA", "BLOB").Language, 1031);
    UnRegisterModuleResources(program + 1);
    EXPECT_EQ(FindResourceData("RCDATA", "Blob").Module, program);
    EXPECT_FALSE(ResourceExists(program + 1, "RCDATA", "Blob"));
}
