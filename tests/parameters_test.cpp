#include <gtest/gtest.h>

#include "quadtree/DecompositionParameters.h"

namespace zantrel {

namespace {

const char* kNotInteger = "请键入一个整数。";
const char* kSizeRange = "“请填入一个在1和128之间的整数。”";
const char* kNotNumber = "请键入一个数。";
const char* kPenaltyRange = "“请填入一个在0和100000000之间的数字。”";

struct Case {
    const char* penalty;
    const char* size;
    const char* message;  // nullptr: accepted
    double wantPenalty;
    int wantSize;
};

TEST(DecompositionParameters, ChecksInTheDialogsOrderWithItsMessages) {
    const Case cases[] = {
        {"1", "4", nullptr, 1.0, 4},
        {" 1e3 ", "\t128", nullptr, 1000.0, 128},
        {"0", "1", nullptr, 0.0, 1},
        {"100000000", "3", nullptr, 100000000.0, 3},
        {"2.5", "+7", nullptr, 2.5, 7},
        {"1", "0", kSizeRange, 0, 0},
        {"1", "129", kSizeRange, 0, 0},
        {"1", "-4", kSizeRange, 0, 0},
        {"1", "99999999999999999999", kSizeRange, 0, 0},
        {"1", "4.5", kNotInteger, 0, 0},
        {"1", "", kNotInteger, 0, 0},
        {"1", "abc", kNotInteger, 0, 0},
        {"abc", "0", kSizeRange, 0, 0},  // the block size is checked first
        {"-1", "4", kPenaltyRange, 0, 0},
        {"100000001", "4", kPenaltyRange, 0, 0},
        {"nan", "4", kPenaltyRange, 0, 0},
        {"abc", "4", kNotNumber, 0, 0},
        {"", "4", kNotNumber, 0, 0},
        {"1,5", "4", kNotNumber, 0, 0},
        {"0x10", "4", kNotNumber, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "penalty '" << c.penalty << "', size '" << c.size << "'");
        DecompositionParameters out;
        const auto error = ParseDecompositionParameters(c.penalty, c.size, out);
        if (c.message == nullptr) {
            ASSERT_FALSE(error.has_value()) << error->message;
            EXPECT_EQ(out.penalty, c.wantPenalty);
            EXPECT_EQ(out.minBlockSize, c.wantSize);
        } else {
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->message, c.message);
            const bool sizeMessage = error->message == kSizeRange || error->message == kNotInteger;
            EXPECT_EQ(error->field == ParameterError::MinBlockSize, sizeMessage);
        }
    }
}

TEST(DecompositionParameters, DefaultTexts) {
    EXPECT_EQ(FormatPenalty(DecompositionParameters{}.penalty), "1");
    EXPECT_EQ(FormatMinBlockSize(DecompositionParameters{}.minBlockSize), "4");
    EXPECT_EQ(FormatPenalty(0.1), "0.1");
}

}  // namespace

}  // namespace zantrel
