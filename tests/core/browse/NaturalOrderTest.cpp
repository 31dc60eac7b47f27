#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/browse/NaturalOrder.h"

using namespace pr;

TEST(NaturalOrder, CaseFoldedLettersAndNumbersByValue) {
    const std::vector<std::string> sorted = {"1.jpg",
                                             "2.jpg",
                                             "10.jpg",
                                             "Bild.png",
                                             "bild1.JPG",
                                             "Bild2.jpg",
                                             "bild10.jpg",
                                             "Bild010b.jpg",
                                             "IMG_0009.jpg",
                                             "img_0010.jpg",
                                             "IMG_20240101_120000.jpg",
                                             "img_99999999999999999999999.jpg",
                                             "urlaub.jpg",
                                             "\xC3\xA4rger.jpg"};
    std::vector<std::string> names(sorted.rbegin(), sorted.rend());
    sortNaturally(names);
    EXPECT_EQ(names, sorted);
    // Equal but for case or leading zeros: still one fixed order, never "equal".
    EXPECT_TRUE(naturalLess("A.jpg", "a.jpg") != naturalLess("a.jpg", "A.jpg"));
    EXPECT_TRUE(naturalLess("a01", "a1") != naturalLess("a1", "a01"));
    EXPECT_FALSE(naturalLess("a.jpg", "a.jpg"));
}
