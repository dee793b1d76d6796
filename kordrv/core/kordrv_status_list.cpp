#include "kordrv/core/kordrv_status_list.h"

#include "kordrv/core/kordrv_format.h"

namespace kordrv
{

namespace
{

static_assert(sizeof(kRedirectionError) - 1 + sizeof(DRV_CONN_ENTRY::name) + 10 +
                      sizeof(kIpPrefix) - 1 + sizeof(kRedirectionError) - 1 <
                  kStatusLineSize,
              "the longest status line fits kStatusLineSize");

StatusLine BuildLine(const DRV_CONN_ENTRY& entry, const DRV_CONN_ENTRY* head, StatusMode mode,
                     char* buf, std::size_t size)
{
    TextWriter out(buf, size);
    if (head)
        out.Text(head->connected != 0 ? kConnectedPrefix : kDisconnectedPrefix);
    else
        out.Text(kRedirectionError);
    out.Text(entry.name, sizeof(entry.name)); // the service's terminator is not trusted
    if (mode == StatusMode::Velt) {
        out.Text(" (");
        out.Unsigned(entry.net);
        out.Char('.');
        out.Unsigned(entry.station);
        out.Char(')');
    }
    out.Text(kIpPrefix);
    if (head)
        out.DottedIp(head->ip);
    else
        out.Text(kRedirectionError);
    return head ? StatusLine::Listed : StatusLine::HeadMissing;
}

StatusLine NotListed(char* buf, std::size_t size)
{
    if (buf && size > 0)
        buf[0] = '\0';
    return StatusLine::NotListed;
}

bool Listed(const DRV_CONN_ENTRY& entry, StatusMode mode)
{
    return mode == StatusMode::Velt || IsHeadEntry(entry);
}

} // namespace

const char* StatusCaption(StatusMode mode)
{
    return mode == StatusMode::Velt ? kStatusCaptionVelt : kStatusCaptionIp;
}

StatusLine FormatConfiguredStatusLine(const DRV_ENTRY_COPIES& copies, std::uint32_t position,
                                      StatusMode mode, char* buf, std::size_t size)
{
    const std::uint32_t count =
        copies.cfg_count < kDrvMaxEntries ? copies.cfg_count : kDrvMaxEntries;
    if (position >= count)
        return NotListed(buf, size);
    const DRV_CONN_ENTRY& entry = copies.cfg[position];
    if (!Listed(entry, mode))
        return NotListed(buf, size);
    return BuildLine(entry, FindConfiguredHead(copies, entry), mode, buf, size);
}

StatusLine FormatAddedStatusLine(const DRV_ENTRY_COPIES& copies, std::uint32_t slot,
                                 std::uint32_t addedSlotBound, StatusMode mode, char* buf,
                                 std::size_t size)
{
    if (slot >= ClampAddedSlotBound(addedSlotBound))
        return NotListed(buf, size);
    const DRV_CONN_ENTRY& entry = copies.added[slot];
    if (entry.id == 0 || !Listed(entry, mode))
        return NotListed(buf, size);
    return BuildLine(entry, FindEntryById(copies, addedSlotBound, entry.link), mode, buf, size);
}

} // namespace kordrv
