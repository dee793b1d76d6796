// The monitor's command line: "/" or "-", a switch letter (either case), then the switch's
// value in the same argument.
//
//   -I<n>     instance 1..9, or exactly "0"; names the shared block
//   -L[name]  requests the monitor's own log; a name given is kept but not used
//   -@<ip>    local IPv4 address to bind to; also resets the adapter to 0
//   -A<n>     local adapter number, non-zero, or exactly "0"
//   -D        debug flag
//   -P<n>, -T<n>  numbers, kept
//   -S        counted
//
// Switches may repeat (the last value wins); the first bad argument ends the parse. On an error
// the monitor shows message IDS_COMMAND_LINE_ERROR and ends.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kordrv
{

constexpr std::size_t kLogNameArgSize = 256; // "-L" name: 255 characters and the terminator

struct CommandLine {
    int instance = 0;                       // "-I": 0..9
    bool logRequested = false;              // "-L" seen
    char logFileName[kLogNameArgSize] = {}; // "-L" value, cut to 255 characters; may be empty
    bool hasBindIp = false;                 // "-@" seen
    std::uint8_t bindIp[4] = {};            // "-@" value, network order (first octet first)
    std::uint32_t adapter = 0;              // "-A"
    bool debug = false;                     // "-D"
    std::uint32_t pValue = 0;               // "-P"
    std::uint32_t tValue = 0;               // "-T"
    std::uint32_t sCount = 0;               // occurrences of "-S" (saturates)
};

// Parses argv[1] .. argv[argc-1] (argv[0] is the program name, as the runtime hands it over).
// True when every argument is valid. On an error *out is reset to its defaults and, when
// badArgument is given, receives the index in argv of the first bad argument (-1 on success).
bool ParseCommandLine(int argc, const char* const* argv, CommandLine* out,
                      int* badArgument = nullptr);

// Reads a switch value as the monitor reads numbers: the leading decimal digits count, and a
// text that does not start with a digit reads as 0. Saturates at 4294967295.
std::uint32_t ReadLeadingNumber(const char* text);

// Converts an IPv4 address text in the classic numbers-and-dots notation: one to four parts
// separated by dots, each decimal, octal (leading 0) or hexadecimal (leading 0x); the last
// part fills the remaining bytes ("10.1" is 10.0.0.1). The whole text must be the address.
// On success *address holds the first octet in its most significant byte; on failure it
// receives 0xFFFFFFFF, which is also what "255.255.255.255" converts to.
bool ConvertIpv4Text(const char* text, std::uint32_t* address);

} // namespace kordrv
