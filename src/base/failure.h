// Failures travel as exceptions carrying the exact text the user sees; only the
// application's default handler catches them (see application.h).
#pragma once
#include <stdexcept>
#include <string>

namespace lt {

class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

// Replaces the first "%s" of pattern with arg; the component messages carry one argument each.
std::string formatMessage(const std::string& pattern, const std::string& arg);
// Replaces the first "%d" of pattern with the decimal text of number.
std::string formatMessage(const std::string& pattern, long long number);

}  // namespace lt
