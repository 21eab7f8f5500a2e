#pragma once

#include <cstdio>
#include <string>

// What a benchmark found, printed as it goes: each figure with its target and "met" or "short"
// beside it, and each measurement that did not happen, with what went wrong, on standard error.
// The exit status sums it up: 1 when a measurement did not happen (its figures mean nothing),
// else 2 when a target is short, else 0.
class TBenchVerdict {
public:
    enum class TAim { AtMost, AtLeast };

    // A figure that has no target of its own.
    void Figure(const std::string& what, double value, const std::string& unit, int decimals = 1) {
        std::printf("%-58s %10.*f %s\n", what.c_str(), decimals, value, unit.c_str());
        std::fflush(stdout);
    }

    void Target(const std::string& what, double value, const std::string& unit, TAim aim,
                double target, int decimals = 1) {
        const bool met = aim == TAim::AtMost ? value <= target : value >= target;
        FShort = FShort || !met;
        const std::string spaced = unit.empty() ? unit : " " + unit;
        std::printf("%-58s %10.*f%-6s (target %s %.*f%s) %s\n", what.c_str(), decimals, value,
                    spaced.c_str(), aim == TAim::AtMost ? "<=" : ">=", decimals, target,
                    spaced.c_str(), met ? "met" : "short");
        std::fflush(stdout);
    }

    // Records that What did not happen unless Happened; returns Happened.
    bool Require(bool happened, const std::string& what) {
        if (!happened) {
            FFailed = true;
            std::fprintf(stderr, "not measured: %s\n", what.c_str());
        }
        return happened;
    }

    int ExitStatus() const { return FFailed ? 1 : FShort ? 2 : 0; }

private:
    bool FFailed = false;
    bool FShort = false;
};
