#include "LogTestSupport.h"

#include "log/NumberSyntax.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace velkor;
using velkor::testing::TempFolder;

namespace {

double Parsed(const char* text) {
    float value = -999.0f;
    EXPECT_TRUE(ParseSingle(text, value)) << text;
    return value;
}

bool Rejects(const char* text) {
    float value = -999.0f;
    const bool ok = ParseSingle(text, value);
    EXPECT_EQ(value, -999.0f) << "a rejected text must not change the value: " << text;
    return !ok;
}

} // namespace

TEST(NumberSyntaxTest, ReadsTheFieldsTheDownloadWritesRoundedToSingle) {
    EXPECT_EQ(Parsed("+021.5"), 21.5);
    EXPECT_EQ(Parsed(" 000.0"), 0.0);
    EXPECT_EQ(Parsed("-005.2"), -5.199999809265137);
    EXPECT_EQ(Parsed("21.3"), 21.299999237060547);
    EXPECT_EQ(Parsed("0.5"), 0.5);
    EXPECT_EQ(Parsed("-0.5"), -0.5);
    EXPECT_EQ(Parsed("100.0"), 100.0);
    EXPECT_EQ(Parsed("45"), 45.0);
}

// A spreadsheet saving in a Polish locale writes a decimal comma.
TEST(NumberSyntaxTest, ADecimalCommaStandsForThePoint) {
    EXPECT_EQ(Parsed("+021,5"), 21.5);
    EXPECT_EQ(Parsed("-005,2"), -5.199999809265137);
    EXPECT_EQ(Parsed("45,3"), static_cast<double>(45.3f));
    EXPECT_EQ(Parsed("2,5E-1"), 0.25);
}

TEST(NumberSyntaxTest, AcceptsLeadingSpacesAndExponents) {
    EXPECT_EQ(Parsed("   7"), 7.0);
    EXPECT_EQ(Parsed("1e2"), 100.0);
    EXPECT_EQ(Parsed("2.5E-1"), 0.25);
    EXPECT_EQ(Parsed("+1E+1"), 10.0);
}

TEST(NumberSyntaxTest, RejectsWhatIsNotOneCompleteNumber) {
    for (const char* text : {"",    " ",    "+",   "-",     ".5",  "5.",    "-3276.", "1e",
                             "1e+", "2x.5", "21,", "2,1,3", ",5",  "45.3 ", "\t45.3", "1.2.3",
                             "--1", "+-1",  "e5",  "0x10",  "nan", "inf",   "1e99"})
        EXPECT_TRUE(Rejects(text)) << text;
}

// A Qt program takes the user's locale for the C library; on a Polish desktop that makes ","
// the decimal separator of the C conversions, which must not matter here.
TEST(NumberSyntaxTest, DecimalPointIsIndependentOfTheLocale) {
    TempFolder dir;
    if (!std::setlocale(LC_NUMERIC, "pl_PL.UTF-8")) {
        // Build the locale privately when the system has none installed.
        const std::string command =
            "localedef -i pl_PL -f UTF-8 '" + dir.File("pl_PL.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            velkor::testing::SetEnvironment("LOCPATH", dir.File("").c_str());
            std::setlocale(LC_NUMERIC, "pl_PL.UTF-8");
        }
    }
    const bool polish = std::strtod("0,5", nullptr) == 0.5;
    float dotValue = 0.0f;
    float commaValue = 0.0f;
    const bool dot = ParseSingle("21.5", dotValue);
    const bool comma = ParseSingle("21,5", commaValue);
    std::setlocale(LC_NUMERIC, "C");
    velkor::testing::SetEnvironment("LOCPATH", nullptr);
    if (!polish)
        GTEST_SKIP() << "no locale with a decimal comma could be set";
    EXPECT_TRUE(dot);
    EXPECT_EQ(dotValue, 21.5f);
    EXPECT_TRUE(comma);
    EXPECT_EQ(commaValue, 21.5f);
}
