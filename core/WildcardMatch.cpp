#include "core/WildcardMatch.h"

#include <cstring>
#include <vector>

#include "core/StringHelpers.h"

namespace {

enum class TokenKind { Star, AnyChar, Digit, Literal, Set, NegatedSet, Never };

// One pattern element. Every kind but Star stands for exactly one text character, which is what
// lets the matcher below get by with a single remembered star.
struct Token {
    TokenKind kind;
    char literal;       // Literal: the (case-folded) character
    size_t setBegin;    // Set/NegatedSet: first member position in the pattern
    size_t setEnd;      // Set/NegatedSet: position of the closing ']'
};

enum class SetAnswer { Admitted, NotAdmitted, Broken };

class Matcher {
public:
    Matcher(const char* pattern, bool caseSensitive) : pattern_(pattern), caseSensitive_(caseSensitive)
    {
        Tokenize();
    }

    bool Match(const char* text) const
    {
        const size_t n = strlen(text);
        const size_t m = tokens_.size();
        size_t ti = 0, pi = 0;
        bool haveStar = false;
        size_t starPattern = 0, starText = 0;
        while (ti < n) {
            if (pi < m && tokens_[pi].kind == TokenKind::Star) {
                haveStar = true;
                starPattern = pi++;
                starText = ti;
                continue;
            }
            if (pi < m && Admits(tokens_[pi], Fold(text[ti]))) {
                ++ti;
                ++pi;
                continue;
            }
            // Let the last star swallow one more character and retry what follows it. Earlier
            // stars never need revisiting: the tokens after them already matched as early as possible.
            if (!haveStar)
                return false;
            pi = starPattern + 1;
            ti = ++starText;
        }
        while (pi < m && tokens_[pi].kind == TokenKind::Star)
            ++pi;
        return pi == m;
    }

private:
    char Fold(char c) const { return caseSensitive_ ? c : ToUpperAscii(c); }

    void Tokenize()
    {
        const size_t len = strlen(pattern_);
        size_t i = 0;
        while (i < len) {
            const char c = pattern_[i];
            Token t{TokenKind::Literal, Fold(c), 0, 0};
            if (c == '*') {
                t.kind = TokenKind::Star;
                ++i;
                // Runs of stars mean the same as one.
                while (i < len && pattern_[i] == '*')
                    ++i;
            } else if (c == '?') {
                t.kind = TokenKind::AnyChar;
                ++i;
            } else if (c == '#') {
                t.kind = TokenKind::Digit;
                ++i;
            } else if (c == '[') {
                size_t j = i + 1;
                t.kind = TokenKind::Set;
                if (j < len && pattern_[j] == '!') {
                    t.kind = TokenKind::NegatedSet;
                    ++j;
                }
                t.setBegin = j;
                // Find the closing bracket; the character after a '-' is a range bound, unless it
                // is the bracket itself.
                while (j < len && pattern_[j] != ']') {
                    if (pattern_[j] == '-' && j + 1 < len && pattern_[j + 1] != ']')
                        j += 2;
                    else
                        ++j;
                }
                if (j >= len) {
                    // No closing bracket: nothing matches such a pattern.
                    t.kind = TokenKind::Never;
                    tokens_.push_back(t);
                    return;
                }
                t.setEnd = j;
                i = j + 1;
            } else {
                ++i;
            }
            tokens_.push_back(t);
        }
    }

    // Members are tried from left to right; the first that admits the character decides. A '-'
    // with no upper bound breaks the match when the scan gets that far.
    SetAnswer ScanSet(const Token& t, char c) const
    {
        signed char lower = 0;
        size_t i = t.setBegin;
        while (i < t.setEnd) {
            const char member = pattern_[i];
            if (member == '-') {
                if (i + 1 >= t.setEnd)
                    return SetAnswer::Broken;
                const signed char upper = static_cast<signed char>(Fold(pattern_[i + 1]));
                const signed char sc = static_cast<signed char>(c);
                if (lower <= sc && sc <= upper)
                    return SetAnswer::Admitted;
                lower = upper;
                i += 2;
            } else {
                const char folded = Fold(member);
                if (folded == c)
                    return SetAnswer::Admitted;
                lower = static_cast<signed char>(folded);
                ++i;
            }
        }
        return SetAnswer::NotAdmitted;
    }

    bool Admits(const Token& t, char c) const
    {
        switch (t.kind) {
        case TokenKind::AnyChar:
            return true;
        case TokenKind::Digit:
            return IsDigitAscii(c);
        case TokenKind::Literal:
            return t.literal == c;
        case TokenKind::Set:
            return ScanSet(t, c) == SetAnswer::Admitted;
        case TokenKind::NegatedSet:
            return ScanSet(t, c) == SetAnswer::NotAdmitted;
        case TokenKind::Never:
        case TokenKind::Star:
            break;
        }
        return false;
    }

    const char* pattern_;
    bool caseSensitive_;
    std::vector<Token> tokens_;
};

}  // namespace

bool WildcardMatch(const char* text, const char* pattern, bool caseSensitive)
{
    if (text == nullptr || pattern == nullptr)
        return false;
    return Matcher(pattern, caseSensitive).Match(text);
}

bool WildcardMatch(const std::string& text, const std::string& pattern, bool caseSensitive)
{
    return WildcardMatch(text.c_str(), pattern.c_str(), caseSensitive);
}
