// The print job: every page of the document to a printer.
#pragma once

namespace vell {

// Prints the open document. Without the dialog every page is printed once
// on the default printer; with it the user picks printer, range and copies.
void print_document(bool without_dialog);

}  // namespace vell
