#include "listing/listing_writer.h"

#include "listing/dependence_listing.h"
#include "listing/homogenisation_listing.h"
#include "listing/job_blocks.h"
#include "listing/nsca_listing.h"
#include "listing/symmetry_listing.h"

namespace marvist {

ListingStatus ListingWriter::job_started(const JobResults& results, RecordSink& listing) {
    write_listing_header(listing, results);
    write_parameter_echo(listing, results);
    return {};
}

// Rows dependent: the heading stands before the counts are read, so that a
// listing whose data cannot be read ends with it.
ListingStatus ListingWriter::table_reading(const JobResults& results, RecordSink& listing) {
    if (!results.table.transposed) write_input_table_heading(listing, results);
    return {};
}

ListingStatus ListingWriter::table_read(const JobResults& results, RecordSink& listing) {
    if (results.table.transposed) {
        write_swap_notice(listing, results);
        write_input_table_heading(listing, results);
    }
    ListingStatus status;
    write_input_table(listing, results, status);
    return status;
}

ListingStatus ListingWriter::marginal_totals_ready(const JobResults& results, RecordSink& listing) {
    ListingStatus status;
    write_marginal_totals(listing, results, status);
    return status;
}

ListingStatus ListingWriter::profiles_ready(const JobResults& results, RecordSink& listing) {
    ListingStatus status;
    write_profiles(listing, results, status);
    return status;
}

ListingStatus ListingWriter::dependence_ready(const JobResults& results, RecordSink& listing) {
    ListingStatus status;
    write_dependence(listing, standard_output_, results, status);
    return status;
}

ListingStatus ListingWriter::nsca_ready(const JobResults& results, RecordSink& listing) {
    ListingStatus status;
    write_nsca(listing, results, status);
    return status;
}

ListingStatus ListingWriter::nsca_skipped(const JobResults&, RecordSink& listing) {
    write_no_nsca(listing);
    return {};
}

ListingStatus ListingWriter::homogenisation_ready(const JobResults& results, RecordSink& listing) {
    ListingStatus status;
    write_homogenisation(listing, standard_output_, results, status);
    return status;
}

ListingStatus ListingWriter::homogenisation_skipped(const JobResults&, RecordSink& listing) {
    write_no_homogenisation(listing);
    return {};
}

ListingStatus ListingWriter::symmetry_ready(const JobResults& results, RecordSink& listing) {
    ListingStatus status;
    write_symmetry(listing, results, status);
    return status;
}

ListingStatus ListingWriter::symmetry_skipped(const JobResults&, RecordSink& listing) {
    write_no_symmetry(listing);
    return {};
}

ListingStatus ListingWriter::symmetry_impossible(const JobResults& results, RecordSink& listing) {
    write_symmetry_impossible(listing, results);
    return {};
}

ListingStatus ListingWriter::job_ended(const JobResults&, RecordSink& listing) {
    write_successful_end(listing);
    return {};
}

}  // namespace marvist
