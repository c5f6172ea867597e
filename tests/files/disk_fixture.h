// The fixture of the on-disk tests: a fresh folder for each test and a few helpers.
#pragma once

#include "files/input_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace dilatany::files::testing_support {

namespace fs = std::filesystem;

// A fresh folder of its own for each test, removed afterwards.
class InputFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        m_dir = fs::temp_directory_path()
              / ("dilatany-files-" + std::to_string(random()) + "-" + std::to_string(random()));
        ASSERT_TRUE(fs::create_directory(m_dir));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
    }

    // The names are UTF-8 on every platform; Windows would read a plain char
    // string in its ANSI code page.
    fs::path Path(std::string_view name) const { return m_dir / std::u8string(name.begin(), name.end()); }

    static void Put(const fs::path &path, std::string_view bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good());
    }

    static std::string Contents(const fs::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The names in the folder, to see that no temporary file was left behind.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry &entry : fs::directory_iterator(m_dir)) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace_back(name.begin(), name.end());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::string DefaultBytes(Shape shape) { return std::get<std::string>(EncodeInputData(DefaultTexts(shape))); }

    static FileError ReadRefusal(const fs::path &path, Shape shape, std::string_view name)
    {
        ReadResult result = ReadInputFile(path, shape, name);
        if (!std::holds_alternative<FileError>(result)) {
            ADD_FAILURE() << "read, but a refusal was expected";
            return {};
        }
        return std::get<FileError>(result);
    }

    static std::string SaveMessage(std::string_view name, std::string_view reason)
    {
        return "Soubor „" + std::string(name) + "“ nelze uložit: " + std::string(reason);
    }

    fs::path m_dir;
};

} // namespace dilatany::files::testing_support
