#pragma once
// The platform's Bluetooth lookups, in the shape the inquiry and the SDP query use: begin a
// lookup, take one result after the other, end it (by destroying the lookup). The inquiry's
// results are sightings, the one carrier every source of the program yields; a platform that is
// not a socket (a daemon's bus interface) is one more implementation of this interface. Each step reports
// one of the distinct outcomes below; a failure carries the system error number, so that callers
// end their messages with that error's text.

#include <cstdint>
#include <memory>
#include <string>

#include "quillmark/bluetooth/platform/BluetoothAddress.h"
#include "quillmark/core/Sighting.h"

namespace qm::bt {

enum class TLookupCode {
    Ok,
    NothingFound,  // begin: no device answered / the device offers no record
    EndOfResults,  // next: no more results
    Failed,        // systemError holds the error number
};

struct TLookupStatus {
    TLookupCode code = TLookupCode::Ok;
    int systemError = 0;

    static TLookupStatus Success() { return {}; }
    static TLookupStatus Of(TLookupCode code) { return {code, 0}; }
    static TLookupStatus Failure(int error) { return {TLookupCode::Failed, error}; }
};

class TInquiryLookup {
public:
    virtual ~TInquiryLookup() = default;
    // The next device of the inquiry: its address text, name (valid UTF-8), class, signal, time
    // and response data.
    virtual TLookupStatus Next(TSighting& sighting) = 0;
};

class TServiceLookup {
public:
    virtual ~TServiceLookup() = default;
    // One service record: the raw bytes of its attribute-list data element sequence.
    virtual TLookupStatus Next(std::string& record) = 0;
};

class TBluetoothPlatform {
public:
    virtual ~TBluetoothPlatform() = default;
    // A fresh inquiry of the devices in range. On Ok, lookup holds the results.
    virtual TLookupStatus BeginInquiry(std::unique_ptr<TInquiryLookup>& lookup) = 0;
    // All service records of the device named by its address text.
    virtual TLookupStatus BeginServiceLookup(const std::string& addressText,
                                             std::unique_ptr<TServiceLookup>& lookup) = 0;
};

}  // namespace qm::bt
