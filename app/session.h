// The process-wide state of the desktop program: the job record, the
// job-state flags, what a job is lent and how the last one ended, and the
// windows that live from one job to the next. Every routine of the user
// interface takes it.
#pragma once

#include <cstdio>
#include <optional>
#include <vector>

#include "analysis/job_context.h"
#include "analysis/job_record.h"
#include "analysis/job_results.h"
#include "app/windowing.h"
#include "biplot/biplot_input.h"
#include "stats/permutation_test.h"

namespace marvist {

struct Session {
    // layer: the windowing layer; it must outlive the session.
    explicit Session(ui::Windowing& layer) : layer(layer) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ui::Windowing& layer;

    JobRecord job;  // the job of the form, kept from one dialog to the next
    JobContext context;                         // reports (while a job runs), clock
    FatalState fatal_state = FatalState::None;  // how the last job ended
    // The NSCA solution of the last job, when it has two axes or more: what
    // the Joint Plot window shows.
    std::optional<BiplotSolution> plot_solution;
    // The last job's results when it ended without a fatal error, and the
    // permutation test of its last export: what the Results window shows and
    // File > Export Results writes.
    std::optional<JobResults> results;
    std::optional<PermutationResult> permutation;
    PermutationOptions permutation_asked;  // the last export's number of permutations and seed
    // Where a job's copies of result blocks go: the console the program was
    // started from.
    std::FILE* console = stdout;

    // Job-state flags, each 0 or 1.
    int data_selected = 0;    // a data file has been chosen or created
    int labels_selected = 0;  // a label file has been chosen or created
    int job_defined = 0;      // the parameters of a job for the current data file exist

    // Windows made through the layer; kNoWindow until made.
    ui::WindowId main_window = ui::kNoWindow;
    ui::WindowId progress_window = ui::kNoWindow;  // "Progress of Marvist"
    ui::WindowId error_window = ui::kNoWindow;     // "Errors and Warnings"
    ui::WindowId output_window = ui::kNoWindow;    // "Output of Marvist"
    std::vector<ui::WindowId> file_windows;        // files opened with File/Open, oldest first
    ui::WindowId save_as_prompt = ui::kNoWindow;   // "Save Output File under different name"
    ui::WindowId plot_window = ui::kNoWindow;      // "Joint Plot"
    ui::WindowId results_window = ui::kNoWindow;   // "Results of Marvist"
    ui::WindowId guide_window = ui::kNoWindow;     // "Marvist User's Guide"
};

// Clears the job state: n_rows, n_cols and the three job-state flags.
void clear_job_state(Session& session);

}  // namespace marvist
