#include "kordrv/core/kordrv_tune.h"

#include "kordrv/core/kordrv_format.h"
#include "kordrv/core/kordrv_ids.h"
#include "kordrv/core/kordrv_log.h"

#include "shared/drv_block.h"

namespace kordrv
{

std::uint32_t RoundRefreshPeriod(int thumbPosition)
{
    if (thumbPosition <= kSliderMin)
        return 0;
    if (thumbPosition >= kSliderMax)
        return static_cast<std::uint32_t>(kSliderMax);
    const int rounded = (thumbPosition + kSliderTick / 2) / kSliderTick * kSliderTick;
    return static_cast<std::uint32_t>(rounded);
}

int SliderPositionForPeriod(std::uint32_t refreshPeriodMs)
{
    return refreshPeriodMs > static_cast<std::uint32_t>(kSliderMax)
               ? kSliderMax
               : static_cast<int>(refreshPeriodMs);
}

unsigned LogProgressPercent(std::uint32_t position, std::uint32_t limit)
{
    // 64-bit product: position x 100 does not fit 32 bits above 42 MB.
    const std::uint64_t percent =
        static_cast<std::uint64_t>(position) * 100u / EffectiveLogLimit(limit);
    if (percent > 100)
        return 100;
    if (position != 0 && percent < 1)
        return 1;
    return static_cast<unsigned>(percent);
}

LogButtonOutcome PressLogButton(bool switchOn, LogOpenResult openResult)
{
    if (switchOn)
        return LogButtonOutcome{false, true, IDS_START_LOG, false};
    switch (openResult) {
    case LogOpenResult::Opened:
    case LogOpenResult::AccessDenied:
        return LogButtonOutcome{true, false, IDS_STOP_LOG, false};
    case LogOpenResult::OtherFailure:
    default:
        return LogButtonOutcome{false, false, IDS_START_LOG, true};
    }
}

unsigned LogButtonCaptionId(bool monitorLogOpen)
{
    return monitorLogOpen ? IDS_STOP_LOG : IDS_START_LOG;
}

bool ResetWaitDone(std::int32_t result, std::uint32_t waitedMs)
{
    return result != kDrvCommandPending || waitedMs > kResetMaxWaitMs;
}

bool FormatResetResult(char* buf, std::size_t size, const char* format, std::int32_t result)
{
    const FormatArg args[] = {ArgU(static_cast<std::uint32_t>(result))};
    return FormatText(buf, size, format, args);
}

} // namespace kordrv
