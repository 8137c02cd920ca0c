#pragma once

// What the fuzz targets share: a scratch application home, files written from the input, a
// reader that turns input bytes into choices, and a check that stops the run on a broken rule.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <QByteArray>
#include <QString>

namespace vimora::fuzz {

/// Once per process: a Qt core application (image plug-ins, text codecs) and a throw-away
/// application home, logging kept quiet. Every target's LLVMFuzzerInitialize calls it.
void initialise(int *argc, char ***argv);

/// The scratch home made by initialise().
QString scratchFolder();

/// Writes bytes to a file of the scratch folder and returns its path; aborts when it cannot.
QString writeScratchFile(const QString &name, const QByteArray &bytes);
/// Writes bytes to a file anywhere; aborts when it cannot.
void writeFile(const QString &path, const QByteArray &bytes);

/// A broken rule is a finding like a crash: print it and abort, so the fuzzer keeps the input.
[[noreturn]] void fail(std::string_view rule);
inline void check(bool holds, std::string_view rule)
{
    if (!holds)
        fail(rule);
}

/// Consumes the input from the front as small choices; past the end every choice is zero, so
/// any input, however short, is a whole case.
class Reader
{
public:
    Reader(const std::uint8_t *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    bool flag() { return byte() & 1; }
    std::uint32_t word();
    /// A whole number in lo..hi (both included).
    long long between(long long lo, long long hi);
    /// A real number in lo..hi.
    double real(double lo, double hi);
    /// One of the n values of a list.
    template <typename T, std::size_t n> T oneOf(const T (&values)[n]) { return values[between(0, n - 1)]; }
    std::size_t remaining() const { return m_size - m_at; }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace vimora::fuzz
