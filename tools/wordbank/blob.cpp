// blob.cpp — the compressed word bank, assembled into the program image.
//
// The build packs the word list first, then this file pulls the result in
// with .incbin, so the program needs no data file to know its words.
#include "media/core.h"
#include "words/words.h"

asm(".section .rodata\n"
    ".balign 16\n"
    "PlimboWordBankZip:\n"
    ".incbin \"" PLIMBO_WORDBANK_ZIP
    "\"\n"
    "PlimboWordBankZipEnd:\n"
    ".previous\n");

extern "C" __attribute__((visibility("hidden"))) const unsigned char PlimboWordBankZip[];
extern "C" __attribute__((visibility("hidden"))) const unsigned char PlimboWordBankZipEnd[];

void RegisterWordBankFile() {
  RegisterEmbedded("sowpods_bank_zip.dat", PlimboWordBankZip, size_t(PlimboWordBankZipEnd - PlimboWordBankZip));
}
