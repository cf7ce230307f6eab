// The report's section on every other program that starts at logon: what
// postpone-check /add can take over, numbered. A reader: it changes nothing.
#pragma once

#include <string>
#include <vector>

#include "logon_programs.h"
#include "report.h"

// "C:\Mail\mail.exe -background, in C:\Mail, minimised": the command as
// Windows runs it.
std::string CommandOfLogonProgram(const LogonProgram& program);

void ReportAlsoStarted(const std::vector<LogonProgram>& programs, Report* report);
