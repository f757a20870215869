// The print job, step by step, on any platform: the default printer and
// its settings, the range and copies, the device context, the spooler
// document and every page through the page interpreter. What it asks of
// the platform goes through a Spooler (spooler.h).
#pragma once

#include <cstdint>
#include <string>

#include "document/document.h"

namespace vell {

class Spooler;

struct PrintJobInput {
    bool without_dialog = false;  // /PA: no dialog, every page once
    int32_t page_count = 0;
    std::string title;            // the document title
    PageHeader first_page;        // page 1's page header
};

// Runs one job. Everything that goes wrong is shown to the user or ends
// the job quietly; nothing is returned. The printer is closed on every
// path after it was asked for. The zoom factor, the page geometry and the
// display units are the same afterwards as before: printing leaves the
// viewer as it was.
void run_print_job(Spooler& spooler, const PrintJobInput& input);

// The job on the document of the process. The page that was loaded before
// is loaded again afterwards, so the viewer finds its page as it left it.
void print_open_document(Spooler& spooler, bool without_dialog);

}  // namespace vell
