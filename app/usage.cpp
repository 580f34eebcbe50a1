// The usage text, printed for "-h" and when there is nothing to compare.
#include "app/usage.h"

#include "base/gen.h"

void usage() {
  const char* p = gen_getprogname();
  gen_printf("Usage (kvc-style):\n\t %s [options] file1 [-v vers1] [file2 [-v vers2]]\n", p);
  gen_printf("   Or (cvs-style):\n\t %s [options] [-r rev1|-D date1] [-r rev2|-D date2] file1 [file2]\n", p);
  gen_printf("options:\n");
  gen_printf("\t-h, --help      display this usage screen\n");
  gen_printf("\n");
  gen_printf("\t-reuse          reuse an existing diffview window (default)\n");
  gen_printf("\t-new, -noreuse  open a new diffview window\n");
  gen_printf("\t-add            add to diff list, but only display if no other diffs\n");
  gen_printf("\n");
  gen_printf("\t-b          ignore amount of whitespace\n");
  gen_printf("\t-lang=c     ignore whitespace using C tokenization\n");
  gen_printf("\t-w          ignore all whitespace\n");
  gen_printf("\t-i          ignore changes in case\n");
}
