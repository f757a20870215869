// Sharing a document: e-mail and fax through Simple MAPI, and saving.
#pragma once

namespace vell {

void send_by_email();
void send_by_fax();
void save_document();

}  // namespace vell
