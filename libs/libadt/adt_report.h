// The containers sit below the foundation's message functions, so they
// report trouble through this hook.  The default writes the text to standard
// error as it stands; the foundation library points it at its own error
// printer at start-up.
#pragma once

// `text` is a complete message; severity 3 is an error, 4 a warning.
using adt_report_fn = void (*)(int severity, const char* text);

// A null hook restores the default printer.
void adt_set_report_hook(adt_report_fn fn);
void adt_report(int severity, const char* text);
