// The operator's subcommands of rodeo-site:
//
//   rodeo-site backup  --db URL --to FILE
//   rodeo-site recent  --db URL [--limit N]
//   rodeo-site remove  --db URL --player ID [--reason TEXT]
//   rodeo-site bar     --db URL (--player ID | --stamp WORD:WORD) [--reason TEXT]
//   rodeo-site unbar   --db URL --stamp WORD:WORD [--reason TEXT]
//   rodeo-site moderation-log --db URL [--limit N]
#pragma once

namespace site {

bool IsOperatorCommand(const char* name);
// argv[0] is the subcommand; returns the exit status.
int RunOperatorCommand(int argc, char** argv);
void PrintOperatorUsage();

}  // namespace site
