// Hardware type codes and names from the two sections of ZANTU.INI.
#include <gtest/gtest.h>
#include "TestEnvironment.h"
#include "config/TypeTables.h"

namespace {

const char* kIni =
    "[Farline:HardwareTypes]\r\n"
    "7=3\r\n"
    "Alpha=07\r\n"
    "Beta=\r\n"
    "NoEquals\r\n"
    "Gamma=x9\r\n"
    "Big=123456\r\n"
    "Five=05\r\n"
    "Shared=11\r\n"
    "Alpha=08\r\n"
    "[Farline:Lookups]\r\n"
    "Node=/a/b/c/code=RN/e\r\n"
    "Shared=/a/b/c/code=SHR/e\r\n"
    "Four=/a/b/c/code=F4\r\n"
    "Six=/a/b/c/code=S6/e/f\r\n"
    "NoEq=/a/b/c/codeX/e\r\n"
    "TwoEq=/a/b/c/code=X=Y/e\r\n"
    "NoSlash=a/b/c/code=NS/e/f\r\n"
    "Long=/a/b/c/k=LONGCODE99/e\r\n";

class TypeTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::MakeZantuDirectory("tables", kIni);
        tables.Load();
    }
    CTypeTables tables;
};

TEST_F(TypeTables, AcceptsWellFormedLinesOnlyInFileOrder)
{
    EXPECT_EQ(tables.m_hardwareTypeNames,
              (CStringArray{"7", "Alpha", "Gamma", "Big", "Five", "Shared", "Alpha"}));
    EXPECT_EQ(tables.m_hardwareTypeNumbers, (CUIntArray{3, 7, 0, 123456, 5, 11, 8}));
    EXPECT_EQ(tables.m_lookupNames, (CStringArray{"Node", "Shared", "Long"}));
    EXPECT_EQ(tables.m_lookupCodes, (CStringArray{"RN", "SHR", "LONGCODE99"}));
}

TEST_F(TypeTables, CodeToName)
{
    struct Case {
        const char* code;
        const char* name;
    } cases[] = {
        {"ORD07", "Alpha"}, {"ORD7", "Alpha"}, {"ORD03", "7"}, {"ORD00", "Gamma"}, {"ORD123456", "Big"},
        {"ORD99", ""},      {"rn", "Node"},    {"RN", "Node"}, {"ord05", ""},      {"XYZ", ""},
        {"", ""},           {"ORD", "Gamma"},  {"SHR", "Shared"},
    };
    for (const Case& c : cases) EXPECT_EQ(tables.CodeToName(c.code), c.name) << c.code;
}

TEST_F(TypeTables, NameToCode)
{
    struct Case {
        const char* name;
        const char* code;
    } cases[] = {
        {"Alpha", "ORD07"}, {"ALPHA", "ORD07"}, {"Five", "ORD05"}, {"Big", "ORD12345"}, {"Gamma", "ORD00"},
        {"node", "RN"},     {"Shared", "ORD11"}, {"Long", "LONGCODE"}, {"Nobody", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(tables.NameToCode(c.name), c.code) << c.name;
}

TEST(TypeTablesLoad, MissingVariableFileOrSectionsLeaveTheTablesEmpty)
{
    SetEnvironmentVariableA("ZANTU", nullptr);
    CTypeTables none;
    none.Load();
    EXPECT_TRUE(none.m_hardwareTypeNames.empty() && none.m_lookupCodes.empty());

    testenv::MakeZantuDirectory("tables-nofile");
    CTypeTables nofile;
    nofile.Load();
    EXPECT_TRUE(nofile.m_hardwareTypeNames.empty() && nofile.m_lookupCodes.empty());
    EXPECT_EQ(nofile.CodeToName("ORD05"), "");
    EXPECT_EQ(nofile.NameToCode("Alpha"), "");

    testenv::MakeZantuDirectory("tables-lookups-only", "[Farline:Lookups]\r\nNode=/a/b/c/code=RN/e\r\n");
    CTypeTables lookups;
    lookups.Load();
    EXPECT_TRUE(lookups.m_hardwareTypeNames.empty());
    EXPECT_EQ(lookups.m_lookupCodes, (CStringArray{"RN"}));
}

TEST(TypeTablesNumber, OneLeadingZeroIsSkippedThenDecimal)
{
    EXPECT_EQ(TableNumber("07"), 7u);
    EXPECT_EQ(TableNumber("007"), 7u);
    EXPECT_EQ(TableNumber("x9"), 0u);
    EXPECT_EQ(TableNumber(" 12abc"), 12u);
    EXPECT_EQ(TableNumber(""), 0u);
}

}  // namespace
