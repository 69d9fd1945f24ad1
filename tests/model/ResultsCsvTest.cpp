// The nodal results as CSV: quoting, full-precision numbers in any locale,
// and a file that reads back as exactly the model's nodes.

#include "model/ResultsCsv.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace slabwise {
namespace {

// A small RFC 4180 reader: records of fields, CRLF between records.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_FALSE(quoted) << "an open quote at the end";
    EXPECT_TRUE(rows.back().empty() && field.empty()) << "the last record has no line end";
    rows.pop_back();
    return rows;
}

TEST(ResultsCsv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    const struct {
        const char* Text;
        const char* Field;
    } cases[] = {
        {"Node #", "Node #"},           {"Shear, kips", "\"Shear, kips\""},
        {"a \"b\"", "\"a \"\"b\"\"\""}, {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},           {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvField(c.Text), c.Field) << c.Text;
}

TEST(ResultsCsv, NumbersReadBackExactlyWithAPointInAnyLocale) {
    const Real values[] = {0.1L,
                           -2.675L,
                           12.5L,
                           1e-20L,
                           -123456789.123456789L,
                           1.0L / 3,
                           std::numeric_limits<Real>::max(),
                           std::numeric_limits<Real>::denorm_min()};
    for (const char* locale : {"C", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        // A comma locale may be missing; the C locale case still runs.
        if (!std::setlocale(LC_ALL, locale)) continue;
        for (const Real v : values) {
            const std::string text = CsvNumber(v);
            EXPECT_EQ(text.find(','), std::string::npos) << text;
            std::setlocale(LC_ALL, "C");
            EXPECT_EQ(std::strtold(text.c_str(), nullptr), v) << text << " in " << locale;
            std::setlocale(LC_ALL, locale);
        }
    }
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(CsvNumber(-0.0L), "0");
    EXPECT_EQ(CsvNumber(std::numeric_limits<Real>::quiet_NaN()), "N.A.");
}

TEST(ResultsCsv, AnExampleReadsBackAsTheModelsNodes) {
    for (const uint8_t units : {UnitsEnglish, UnitsSI}) {
        SCOPED_TRACE(int(units));
        TMatData mat{TMatData::ExecutableFolder()};
        mat.SetUnitSystem(units);
        mat.SetDefaults();
        ASSERT_GT(mat.StripLength, 0) << "the example beside the test was not read";
        mat.Analyze();

        const auto rows = ReadCsv(NodeResultsCsv(mat));
        ASSERT_EQ(rows.size(), size_t(NodeCount + 1));
        const std::vector<std::string> header =
            units == UnitsEnglish
                ? std::vector<std::string>{"Node #",          "Dist. from left, ft", "Shear, kips",
                                           "Moment, ft-kips", "Slope, deg",          "Deflection, in",
                                           "Soil Press, ksf"}
                : std::vector<std::string>{"Node #",         "Dist. from left, m", "Shear, kN",
                                           "Moment, kN-m",   "Slope, deg",         "Deflection, mm",
                                           "Soil Press, kPa"};
        EXPECT_EQ(rows[0], header);
        for (int i = 0; i < NodeCount; ++i) {
            const auto& row = rows[size_t(i) + 1];
            const TMatStation& st = mat.Stations[size_t(i)];
            ASSERT_EQ(row.size(), 7u) << i;
            EXPECT_EQ(row[0], std::to_string(i + 1));
            const Real expected[] = {st.X,          st.Shear,   st.Moment, SlopeDegrees(st.Slope),
                                     st.Deflection, st.Pressure};
            for (size_t c = 0; c < 6; ++c)
                EXPECT_EQ(std::strtold(row[c + 1].c_str(), nullptr), expected[c])
                    << "node " << i + 1 << " " << header[c + 1];
        }
        // The last node is at the full length.
        EXPECT_EQ(std::strtold(rows.back()[1].c_str(), nullptr), mat.StripLength);
    }
}

TEST(ResultsCsv, TooFewStationsAreRefused) {
    const std::vector<TMatStation> few(NodeCount - 1);
    EXPECT_THROW(NodeResultsCsv(few, UnitsEnglish), std::invalid_argument);
}

} // namespace
} // namespace slabwise
