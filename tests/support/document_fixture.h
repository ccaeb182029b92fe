#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/data_mgr.h"
#include "support/temp_files.h"

// Starts every test from a fresh document (new definition, new data) and gives
// helpers to fill the data and read it back.
class Document_test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static Data_mgr& doc() { return Data_mgr::instance(); }
    // Replaces the data by `bytes` through a real file load.
    void load_bytes(const std::vector<std::uint8_t>& bytes);
    void load_bytes(const std::string& bytes);
    // The data as it stands, walked along the links.
    [[nodiscard]] static std::vector<std::uint8_t> data_bytes();
    // A file path in a folder private to this test.
    [[nodiscard]] std::string temp_path(const std::string& name) const;
    // Checks size, positions, back links and every skip entry against a scan.
    static void expect_consistent();

private:
    Temp_folder folder_;
};
