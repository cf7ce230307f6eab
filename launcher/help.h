// The help message: the only thing a user ever sees of the launcher.
#pragma once

#include <cstdint>
#include <string>

constexpr uint32_t kHelpBoxStyle = 0x40;  // MB_OK | MB_ICONINFORMATION

std::string HelpText();
std::string HelpTitle();

// Shows the help box and returns when the user has closed it.
void ShowHelp();
