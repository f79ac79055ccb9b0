#include "document/model.h"

#include <gtest/gtest.h>

namespace varnex {
namespace {

TEST(DocumentTest, FreshDocumentHasDefaults) {
    Document doc;
    EXPECT_EQ(doc.data, 0);
    EXPECT_TRUE(doc.files.empty());
    EXPECT_EQ(doc.xtitle, "X");
}

}  // namespace
}  // namespace varnex
