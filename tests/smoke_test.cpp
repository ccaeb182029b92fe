#include <gtest/gtest.h>
#include "support/document_fixture.h"
TEST_F(Document_test, Smoke) { load_bytes(std::string("abc")); EXPECT_EQ(doc().size(), 3u); expect_consistent(); }
