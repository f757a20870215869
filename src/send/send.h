// Sharing a document: e-mail and fax through Simple MAPI, and saving.
#pragma once

#include "send/cairo_pdf_file.h"

namespace vell {

void send_by_email();
// E-mail with the document as a PDF attachment; progress shows how far the
// PDF has come.
void send_by_email_as_pdf(PdfProgress progress);
void send_by_fax();
// Save; a ".PDF" name shows its progress through progress.
void save_document(PdfProgress progress);

}  // namespace vell
