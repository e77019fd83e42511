// The options that say what a job writes besides its listing: the joint
// plots as SVG files and the results as data. Both command forms of
// marvist-run (a set-up file, or --import) take them alike.
#pragma once

#include <string>
#include <string_view>

#include "app/batch/batch_run.h"

namespace marvist {

// True for --plots, --plot-axes, --export, --permutations and --seed, which
// each take a value.
bool is_output_option(std::string_view name);

// Sets the option `name` from `value` in options.
// Returns the complaint ("--seed x: not a whole number in range"), or empty.
std::string set_output_option(std::string_view name, std::string_view value, BatchOptions& options);

// The options that need another one (--plot-axes needs --plots, the
// permutations need the export): the complaint, or empty.
std::string check_output_options(const BatchOptions& options);

}  // namespace marvist
