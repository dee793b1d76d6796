// Helpers of the monitor's unit tests: caller buffers guarded by canaries.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace kordrv_test
{

constexpr char kCanary = static_cast<char>(0xA5);
constexpr std::size_t kCanaryBytes = 16;

// A buffer of `size` bytes filled with canaries, followed by canary bytes. Whatever a function
// writes past `size` shows in Intact(); a missing terminator shows in Terminated().
class GuardedBuffer
{
public:
    explicit GuardedBuffer(std::size_t size) : m_size(size), m_mem(size + kCanaryBytes, kCanary) {}

    char* Data() { return m_mem.data(); }
    std::size_t Size() const { return m_size; }

    bool Intact() const
    {
        for (std::size_t i = m_size; i < m_mem.size(); ++i) {
            if (m_mem[i] != kCanary)
                return false;
        }
        return true;
    }

    bool Terminated() const { return std::memchr(m_mem.data(), '\0', m_size) != nullptr; }

    std::string Text() const
    {
        const void* nul = std::memchr(m_mem.data(), '\0', m_size);
        const std::size_t len =
            nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - m_mem.data()) : m_size;
        return std::string(m_mem.data(), len);
    }

private:
    std::size_t m_size;
    std::vector<char> m_mem;
};

} // namespace kordrv_test
