// The text editor's two printouts on the program's printing state:
// - the page print (Alt+D) always goes to the page printer, whatever the printing mode:
//   cLPT is "LPTA" for its duration and put back afterwards; the text in 10-point
//   Courier New from row 3, column 10, at most 80 characters a line, pages after row 65;
// - the text print (Ctrl+P) goes where cLPT says (normally the text printer), the text
//   at row 2, column 10.
// Failures of a printout are told through the printing state's report. GUI thread only;
// `shared` and `printing` must outlive the result.
#pragma once

#include "config/text_editor.h"

namespace sendwerk {

struct Shared;
struct Printing;

EditorPrinting editorPrintingFor(Shared& shared, Printing& printing);

}  // namespace sendwerk
