#pragma once
// The inventory of discovered devices: an ordered list of owned TBTDevice records (index 0 the
// oldest) with one re-entrant lock shared by the discovery thread and the main thread. Every
// call below except LockList, UnlockList, NotifyChanged and SetNotifier, and every access to a
// record, must happen while the calling thread holds the lock; prefer TDeviceListLock.
//
// FindDevice is a hash lookup: an index by address is kept beside the records, and when two
// records share an address the one with the lower index is found.

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "quillmark/core/BTDevice.h"
#include "quillmark/core/Clock.h"
#include "quillmark/core/DeviceListNotifier.h"

namespace qm {

class TDeviceList {
public:
    // The clock gives new records their FirstSeen and decides IsActive; it must outlive the list.
    explicit TDeviceList(const IClock& clock = SystemClock());
    ~TDeviceList();
    TDeviceList(const TDeviceList&) = delete;
    TDeviceList& operator=(const TDeviceList&) = delete;

    // Enter and leave the lock; the holder may enter again and leaves as often as it entered.
    // At trace level 210 each writes a line, outside the locked stretch.
    void LockList();
    void UnlockList();

    // The first record whose Address equals the text byte for byte, or nullptr.
    TBTDevice* FindDevice(std::string_view address) const;
    // Asks the user interface to repaint; returns at once. Nothing listens until a notifier is set.
    void NotifyChanged() const;
    void SetNotifier(IDeviceListNotifier* notifier) { FNotifier.store(notifier); }

    int Count() const { return static_cast<int>(FRecords.size()); }
    // Throws TError for an index outside 0 to Count() - 1.
    TBTDevice& Items(int index) const;
    // Appends a record with the defaults of a new device and returns it.
    TBTDevice& Add();
    // Destroys the record at the index; later records move down by one.
    void Delete(int index);
    void Clear();

    const IClock& Clock() const { return FClock; }

private:
    friend class TBTDevice;
    struct TAddressHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // Records sharing one address, in index order.
    using TAddressIndex =
        std::unordered_map<std::string, std::vector<TBTDevice*>, TAddressHash, std::equal_to<>>;

    void IndexAddress(TBTDevice& record);
    void UnindexAddress(const TBTDevice& record);

    const IClock& FClock;
    std::vector<std::unique_ptr<TBTDevice>> FRecords;
    TAddressIndex FByAddress;
    std::recursive_mutex FLock;
    std::atomic<IDeviceListNotifier*> FNotifier{nullptr};
};

}  // namespace qm
