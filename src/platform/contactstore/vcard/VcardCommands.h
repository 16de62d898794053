#pragma once
// The program's vCard subcommands on the profile's address book:
//   tessaro import FILE...                 add every person and group of the files, or none;
//                                          "-" is standard input
//   tessaro export FILE [--vcard-version 4.0]    write the whole book (3.0 unless asked); "-" is
//                                          standard output
// Each returns the process exit status: 0 done, 1 nothing done (the reasons printed),
// 2 the command line was wrong.

#include <cstdio>
#include <string>
#include <vector>

namespace contactstore::vcard {

class VcardCommands {
public:
    static int runImport(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err, std::FILE* in = stdin);
    static int runExport(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);
};

} // namespace contactstore::vcard
