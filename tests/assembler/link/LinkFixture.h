// Links test modules written into a temporary folder and reads back what the linker wrote.
#pragma once

#include "assembler/TasmTestData.h"
#include "assembler/TempFolder.h"
#include "assembler/link/Linker.h"
#include "assembler/link/TestModule.h"

#include <gtest/gtest.h>

namespace velmora::assembler::link::testing
{

class LinkFixture : public ::testing::Test
{
protected:
    void add(const std::string &objectName, const TestModule &module) { module.writeTo(folder.path() / objectName); }

    ToolRun run(const std::vector<std::string> &arguments) { return link(arguments, folder.path()); }

    std::vector<std::uint8_t> file(const std::string &name) const
    {
        return velmora::assembler::testing::readBytes(folder.path() / name);
    }
    std::string text(const std::string &name) const
    {
        return velmora::assembler::testing::readText(folder.path() / name);
    }
    bool exists(const std::string &name) const { return std::filesystem::exists(folder.path() / name); }

    // The little-endian word at `offset` of a file's bytes.
    static unsigned word(const std::vector<std::uint8_t> &bytes, std::size_t offset)
    {
        return bytes.at(offset) | bytes.at(offset + 1) << 8;
    }

    velmora::assembler::testing::TempFolder folder;
};

} // namespace velmora::assembler::link::testing
