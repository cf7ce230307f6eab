// The version and home page, shared by the help box and the version record.
#pragma once

#define POSTPONE_VERSION_TEXT "1.0.0.0"
#define POSTPONE_VERSION_NUMBERS 1, 0, 0, 0
#define POSTPONE_HOME_PAGE "https://postpone.example.org"
