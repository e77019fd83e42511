// Lines formatted on several threads reach the sink as if formatted in turn:
// the same records, complete or open, in the same order, all on the
// calling thread; failures of the formatting or of the sink stop the
// writing where they would have stopped it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/record_io.h"
#include "listing/matrix_print.h"
#include "listing/records_in_order.h"

namespace marvist {
namespace {

// Every record as received, with the thread that handed it on.
class RawRecords : public RecordSink {
public:
    void put_record(std::string_view record, bool complete) override {
        if (fail_at_ >= 0 && static_cast<std::int64_t>(records.size()) == fail_at_) throw std::runtime_error("sink");
        records.emplace_back(std::string(record), complete);
        if (std::this_thread::get_id() != caller_) foreign_thread = true;
    }
    void fail_at(std::int64_t n) { fail_at_ = n; }
    std::vector<std::pair<std::string, bool>> records;
    bool foreign_thread = false;

private:
    std::thread::id caller_ = std::this_thread::get_id();
    std::int64_t fail_at_ = -1;
};

// Item k writes k mod 4 records, the first of them open when k is odd; item
// `throw_at` throws after its first record.
FormatItems items(std::int64_t throw_at = -1) {
    return [throw_at](std::int64_t first, std::int64_t last, RecordSink& sink) {
        for (std::int64_t k = first; k < last; ++k) {
            for (std::int64_t r = 0; r < k % 4; ++r) {
                sink.put_record("item " + std::to_string(k) + "." + std::to_string(r), !(r == 0 && k % 2 == 1));
                if (k == throw_at) throw std::runtime_error("item " + std::to_string(k));
            }
        }
    };
}

RawRecords in_turn(std::int64_t count, std::int64_t throw_at = -1) {
    RawRecords out;
    try {
        items(throw_at)(0, count, out);
    } catch (const std::runtime_error&) {
    }
    return out;
}

TEST(RecordsInOrder, SameRecordsAsInTurnForAnyThreadsAndChunks) {
    for (const std::int64_t count : {0, 1, 5, 1000, 20000}) {
        const RawRecords want = in_turn(count);
        for (const int threads : {1, 2, 3, 8}) {
            for (const std::int64_t chunk : {1, 7, 1024}) {
                if (count > 1000 && chunk == 1) continue;  // slow, adds nothing
                RawRecords got;
                write_in_order(got, count, items(), {.threads = threads, .items_per_chunk = chunk});
                ASSERT_EQ(got.records, want.records) << count << " items, " << threads << " threads, chunk " << chunk;
                EXPECT_FALSE(got.foreign_thread);
            }
        }
    }
}

TEST(RecordsInOrder, AFormattingFailureStopsAfterTheRecordsBeforeIt) {
    for (const int threads : {1, 2, 4}) {
        for (const std::int64_t throw_at : {1, 503, 9999}) {
            RawRecords got;
            EXPECT_THROW(write_in_order(got, 10000, items(throw_at), {.threads = threads, .items_per_chunk = 64}),
                         std::runtime_error);
            EXPECT_EQ(got.records, in_turn(10000, throw_at).records) << threads << " threads, item " << throw_at;
        }
    }
}

TEST(RecordsInOrder, ASinkFailureEndsTheWriting) {
    RawRecords got;
    got.fail_at(777);
    EXPECT_THROW(write_in_order(got, 100000, items(), {.threads = 3, .items_per_chunk = 16}), std::runtime_error);
    const RawRecords all = in_turn(100000);
    EXPECT_EQ(got.records, decltype(all.records)(all.records.begin(), all.records.begin() + 777));
}

// A matrix large enough to be shared among threads, each of its lines
// written here independently of the layout engine.
TEST(RecordsInOrder, LargeMatrixLineForLine) {
    const int nrow = 5000, ncol = 23;
    std::vector<std::int32_t> counts;
    std::vector<double> reals;
    for (int j = 1; j <= ncol; ++j) {
        for (int i = 1; i <= nrow; ++i) {
            counts.push_back(i * 31 + j);
            reals.push_back((i * 7919 % 20001 - 10000) / 1024.0 + j);  // exact in binary: printf rounds as the field does
        }
    }
    std::vector<std::string> rows, cols;
    for (int i = 1; i <= nrow; ++i) rows.push_back(fixed("r" + std::to_string(i), 6));
    for (int j = 1; j <= ncol; ++j) cols.push_back(fixed("c" + std::to_string(j), 6));
    CapturedRecords ints, doubles;
    ASSERT_TRUE(print_labelled_int_matrix(counts.data(), rows, cols, nrow, ncol, ColumnLabels::Shown, ints));
    ASSERT_TRUE(print_labelled_matrix(reals.data(), rows, cols, nrow, ncol, ColumnLabels::Shown, Decimals::Three,
                                      doubles));

    std::vector<std::string> want_ints, want_reals;
    for (int first = 1; first <= ncol; first += 10) {
        const int last = std::min(first + 9, ncol);
        if (first > 1) {
            want_ints.emplace_back();
            want_reals.emplace_back();
        }
        std::string numbers = " NO. L  LABEL │", labels = "              │", rule = " ─────────────┼";
        for (int j = first; j <= last; ++j) {
            char field[16];
            std::snprintf(field, sizeof field, "%6d ", j);
            numbers += field;
            labels += " " + cols[static_cast<std::size_t>(j - 1)];
            rule += "───────";
        }
        for (auto* want : {&want_ints, &want_reals}) {
            want->push_back(utf8_to_cp437(numbers));
            want->push_back(utf8_to_cp437(labels));
            want->push_back(utf8_to_cp437(rule));
        }
        for (int i = 1; i <= nrow; ++i) {
            char head[32];
            std::snprintf(head, sizeof head, " %2s  %c %s \xB3", i < 100 ? std::to_string(i).c_str() : "**",
                          "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[(i - 1) % 35], rows[static_cast<std::size_t>(i - 1)].c_str());
            std::string int_line = head, real_line = head;
            for (int j = first; j <= last; ++j) {
                char field[32];
                const std::size_t at = static_cast<std::size_t>(j - 1) * nrow + static_cast<std::size_t>(i - 1);
                std::snprintf(field, sizeof field, "%7d", counts[at]);
                int_line += field;
                std::snprintf(field, sizeof field, "%7.3f", reals[at]);
                real_line += std::string(field).size() > 7 ? "*******" : field;
            }
            want_ints.push_back(int_line);
            want_reals.push_back(real_line);
        }
    }
    EXPECT_EQ(ints.lines, want_ints);
    EXPECT_EQ(doubles.lines, want_reals);
}

}  // namespace
}  // namespace marvist
