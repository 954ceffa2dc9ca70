// A header for the library helper checks; never compiled.
#pragma once
