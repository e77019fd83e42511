#include "app/batch/job_form.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/fixed_text.h"

namespace marvist {
namespace {

TEST(ReadNumberField, DigitRuleByPlaceWithClamping) {
    EXPECT_EQ(read_number_field("1 2  "), 102);  // an inner blank keeps its place
    EXPECT_EQ(read_number_field("-1"), -29);     // '-' counts as -3 tens
    EXPECT_EQ(read_number_field("12345678901"), 1234567890);  // the field holds ten
    EXPECT_EQ(read_number_field(std::string(10, '\xff')), INT_MAX);
    EXPECT_EQ(read_number_field("-214748364"), INT_MIN);
    // Bytes count by their unsigned code, 0x80 and above included.
    for (int code = 0; code < 256; ++code) {
        if (code == ' ') continue;
        EXPECT_EQ(read_number_field(std::string(1, static_cast<char>(code))), code - '0') << code;
    }
}

TEST(ReadBackJobForm, TrimsNamesReadsNumbersAndFormsFileNames) {
    JobRecord job;
    job.n_rows_text = " 12";
    job.row_variable = "Father occupation";
    job.job_name = "   abc  ";
    job.data_file = "  mob.dat";
    job.data_format = "   (4I4, 2X)";
    ASSERT_FALSE(read_back_job_form(job).failed);
    EXPECT_EQ(job.n_rows, 12);
    EXPECT_EQ(job.row_variable, "Father occup");
    EXPECT_EQ(job.job_name, fixed("abc", 80));
    EXPECT_EQ(job.output_file, fixed("abc.out", 80));
    EXPECT_EQ(job.setup_file, fixed("abc.set", 80));
    EXPECT_EQ(job.data_file, fixed("mob.dat", 80));
    EXPECT_EQ(job.data_format, fixed("(4I4, 2X)", 70));

    // The name must leave room for its extension in 80 characters.
    job.job_name = " " + std::string(76, 'n') + "  ";
    ASSERT_FALSE(read_back_job_form(job).failed);
    EXPECT_EQ(job.output_file, std::string(76, 'n') + ".out");
    job.job_name = std::string(77, 'n');
    job.n_rows_text = "5";
    const FormError error = read_back_job_form(job);
    EXPECT_TRUE(error.failed);
    EXPECT_NE(error.message.find("77"), std::string::npos) << error.message;
    EXPECT_EQ(job.n_rows, 12);  // nothing converted
}

}  // namespace
}  // namespace marvist
