#include <gtest/gtest.h>
#include "art/art.h"
TEST(Pictures, Placeholder) { EXPECT_NE(art::Find(art::Kind::Bitmap, 130), nullptr); }
