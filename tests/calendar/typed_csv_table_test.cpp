#include "typed_csv_table.h"

#include <climits>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace {

struct Layout {
    char type;
    int32_t offset;
    int32_t size;
};

std::vector<Layout> layout(const TypedCsvTable& t) {
    std::vector<Layout> out;
    for (const CsvColumn& c : t.columns)
        out.push_back({c.type, c.offset, c.size});
    return out;
}

bool operator==(const Layout& a, const Layout& b) {
    return a.type == b.type && a.offset == b.offset && a.size == b.size;
}

// A table read from files in a folder of their own.
struct TypedCsvRead : testing::Test {
    TempDir dir;
    TypedCsvTable t;
    // Writes `text` as a file and reads it with the given header and first-line flag.
    bool read(const std::string& text, const std::string& header = "", bool keep_first = true) {
        return t.read(dir.write("t.csv", text), header, keep_first);
    }
};
using TypedCsvRobustness = TypedCsvRead;

}  // namespace

TEST(TypedCsvHeader, NumericFieldsAlignToTheirSizeAndWideColumnsRoundTheRecordToEight) {
    TypedCsvTable t;
    ASSERT_TRUE(t.parse_header("iNO,lID,5Name,dValue"));
    EXPECT_EQ(layout(t),
              (std::vector<Layout>{{'i', 0, 4}, {'l', 8, 8}, {'5', 16, 32}, {'d', 48, 8}}));
    EXPECT_EQ(t.record_size, 56);
    EXPECT_EQ(t.columns[2].name, "Name");
}

TEST(TypedCsvHeader, TextAndCharacterFieldsAreNotAlignedAndNarrowRecordsRoundToFour) {
    TypedCsvTable t;
    ASSERT_TRUE(t.parse_header("cA,iB,cC,0D,fE"));
    EXPECT_EQ(layout(t), (std::vector<Layout>{
                             {'c', 0, 1}, {'i', 4, 4}, {'c', 8, 1}, {'0', 9, 1}, {'f', 12, 4}}));
    EXPECT_EQ(t.record_size, 16);
    ASSERT_TRUE(t.parse_header("cA,2B"));
    EXPECT_EQ(t.record_size, 8);  // 5 bytes rounded to 4
    ASSERT_TRUE(t.parse_header("9T"));
    EXPECT_EQ(t.columns[0].size, 512);
}

TEST(TypedCsvHeader, UnknownTypeCodesEmptyTokensAndEmptyHeadersAreInvalid) {
    TypedCsvTable t;
    for (const char* bad : {"xDate", "", "iA,,dB", "iA,QB", "iA,"}) {
        EXPECT_FALSE(t.parse_header(bad)) << bad;
        EXPECT_TRUE(t.columns.empty()) << bad;
        EXPECT_EQ(t.record_size, 0) << bad;
    }
}

TEST_F(TypedCsvRead, SkipsCommentsAndLeavesMissingFieldsZero) {
    ASSERT_TRUE(read("iA,dB,3C\n# a comment\n7,2.5,ab\n8\n\n9,,x,extra\n"));
    EXPECT_EQ(t.header, "iA,dB,3C");
    ASSERT_EQ(t.row_count(), 4u);
    EXPECT_EQ(t.int32_at(0, 0), 7);
    EXPECT_DOUBLE_EQ(t.double_at(0, 1), 2.5);
    EXPECT_EQ(t.text_at(0, 2), "ab");
    EXPECT_EQ(t.int32_at(1, 0), 8);
    EXPECT_EQ(t.double_at(1, 1), 0.0);
    EXPECT_EQ(t.text_at(1, 2), "");
    EXPECT_EQ(t.int32_at(2, 0), 0);  // a blank line is a row of zeros
    EXPECT_EQ(t.int32_at(3, 0), 9);
    EXPECT_EQ(t.text_at(3, 2), "x");
}

TEST_F(TypedCsvRead, TrimsBlanksOnlyWhenAskedAndCutsTextAtItsSize) {
    // Saved on Windows: a byte-order mark and CRLF line ends.
    const std::string path =
        dir.write("t.csv", "\xEF\xBB\xBFiA,3T,cC\r\n  12 ,  abcdefghij , z \r\n 5, ab   ,\r\n");
    t.trim_blanks = true;
    ASSERT_TRUE(t.read(path, "", true));
    ASSERT_EQ(t.row_count(), 2u);
    EXPECT_EQ(t.int32_at(0, 0), 12);
    EXPECT_EQ(t.text_at(0, 1), "abcdefg");  // 8 bytes hold seven characters
    EXPECT_EQ(t.char_at(0, 2), 'z');
    EXPECT_EQ(t.text_at(1, 1), "ab");
    EXPECT_EQ(t.char_at(1, 2), 0);

    TypedCsvTable plain;
    ASSERT_TRUE(plain.read(path, "", true));
    EXPECT_EQ(plain.text_at(0, 1), "  abcde");
    EXPECT_EQ(plain.char_at(0, 2), ' ');
    EXPECT_EQ(plain.text_at(1, 1), " ab   ");
}

TEST_F(TypedCsvRead, ConvertsEveryTypeAndHoldsOutOfRangeIntegersAtTheLimits) {
    // The file's own first line is skipped.
    ASSERT_TRUE(read("h\n99999999999,-5000000000,1.5e3,0.25,q\n-99999999999,12x,1e300,-1e-3,\n",
                     "iA,lB,fC,dD,cE", false));
    ASSERT_EQ(t.row_count(), 2u);
    EXPECT_EQ(t.int32_at(0, 0), INT32_MAX);
    EXPECT_EQ(t.int64_at(0, 1), -5000000000LL);
    EXPECT_DOUBLE_EQ(t.double_at(0, 2), 1500.0);
    EXPECT_DOUBLE_EQ(t.double_at(0, 3), 0.25);
    EXPECT_EQ(t.char_at(0, 4), 'q');
    EXPECT_EQ(t.int32_at(1, 0), INT32_MIN);
    EXPECT_EQ(t.int64_at(1, 1), 12);
    EXPECT_TRUE(std::isinf(t.double_at(1, 2)));
    EXPECT_EQ(t.int32_at(0, 1), 0) << "typed access refuses a column of another type";
    EXPECT_EQ(t.int32_at(5, 0), 0) << "and a row that does not exist";
}

TEST_F(TypedCsvRead, FirstLineHandlingFollowsTheHeaderAndKeepFlag) {
    const std::string path = dir.write("t.csv", "1\n2\n3\n");
    TypedCsvTable given_keep, given_skip, own_skip;
    ASSERT_TRUE(given_keep.read(path, "iA", true));
    ASSERT_TRUE(given_skip.read(path, "iA", false));
    EXPECT_EQ(given_keep.row_count(), 3u);
    ASSERT_EQ(given_skip.row_count(), 2u);
    EXPECT_EQ(given_skip.int32_at(0, 0), 2);

    ASSERT_TRUE(own_skip.read(dir.write("own.csv", "iA\nskipped\n4\n"), "", false));
    ASSERT_EQ(own_skip.row_count(), 1u);
    EXPECT_EQ(own_skip.int32_at(0, 0), 4);
}

TEST_F(TypedCsvRead, FailsOnMissingFilesBadHeadersAndOversizedRecords) {
    EXPECT_FALSE(t.read(dir.file("absent.csv")));
    EXPECT_FALSE(read(""));
    EXPECT_FALSE(read("xDate\n1\n"));
    EXPECT_FALSE(read("1\n", std::string(1025, 'i')));

    EXPECT_TRUE(read("9A,9B,9C\n# only a comment\n"))
        << "an oversized record is refused only once a row needs it";
    EXPECT_FALSE(read("9A,9B,9C\n1,2,3\n"));
    EXPECT_EQ(t.row_count(), 0u);
}

TEST_F(TypedCsvRead, ANewReadReleasesThePreviousRows) {
    ASSERT_TRUE(read("iA\n1\n2\n"));
    ASSERT_TRUE(read("iA\n3\n"));
    ASSERT_EQ(t.row_count(), 1u);
    EXPECT_EQ(t.int32_at(0, 0), 3);
}

TEST_F(TypedCsvRobustness, OverlongLinesAreSkippedWholeAndHeadersOverTheLimitFail) {
    const std::string exact(TypedCsvTable::kMaxLine, '7');
    const std::string longer(5000, '8');
    t.trim_blanks = true;
    ASSERT_TRUE(read("iA,9T\n1\n" + longer + "\n2," + exact.substr(2) + "\n3\n"));
    ASSERT_EQ(t.row_count(), 3u);
    EXPECT_EQ(t.skipped_lines, 1u);
    EXPECT_EQ(t.int32_at(1, 0), 2);
    EXPECT_EQ(t.text_at(1, 1).size(), 511u);
    EXPECT_EQ(t.int32_at(2, 0), 3);

    EXPECT_FALSE(read("iA" + std::string(2000, 'x') + "\n1\n"));
}

TEST_F(TypedCsvRobustness, BinaryBytesAndAThousandColumnsNeverOverrun) {
    std::string binary = "iA,5B\n";
    for (int i = 0; i < 256; ++i)
        binary.push_back(char(i));
    const char tail[] = "\n42,\0\xff\x01tail\n\0";
    binary.append(tail, sizeof tail);
    ASSERT_TRUE(read(binary));
    EXPECT_EQ(t.row_count(), 1u);
    EXPECT_EQ(t.skipped_lines, 3u);  // the lines holding a NUL byte

    std::string wide;
    for (int i = 0; i < 1000; ++i)
        wide += (i ? ",d" : "d") + std::to_string(i);
    ASSERT_TRUE(t.parse_header(wide));
    EXPECT_EQ(t.record_size, 8000);
    EXPECT_FALSE(read(wide + "\n1,2\n"));
    EXPECT_FALSE(read("1\n", wide));
}
