#include "support/document_fixture.h"

#include "document/data_check.h"

void Document_test::SetUp()
{
    doc().new_definition();
    doc().new_data();
}

void Document_test::TearDown()
{
    doc().new_definition();
    doc().new_data();
}

void Document_test::load_bytes(const std::vector<std::uint8_t>& bytes)
{
    load_bytes(std::string(bytes.begin(), bytes.end()));
}

void Document_test::load_bytes(const std::string& bytes)
{
    const std::string path = temp_path("data.bin");
    write_file(path, bytes);
    doc().load_data(File_path(path));
}

std::vector<std::uint8_t> Document_test::data_bytes()
{
    std::vector<std::uint8_t> bytes;
    for (const Data_node* node = doc().first_node(); node; node = node->next())
        bytes.push_back(node->value);
    return bytes;
}

std::string Document_test::temp_path(const std::string& name) const { return folder_ / name; }

void Document_test::expect_consistent()
{
    EXPECT_EQ(find_data_inconsistency(doc()), "");
}
