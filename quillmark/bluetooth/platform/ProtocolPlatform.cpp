#include "quillmark/bluetooth/platform/ProtocolPlatform.h"

#include <cerrno>

#include "quillmark/bluetooth/platform/ClassicSighting.h"
#include "quillmark/bluetooth/platform/HciInquiry.h"
#include "quillmark/bluetooth/platform/SdpClient.h"
#include "quillmark/bluetooth/platform/SdpPdu.h"
#include "quillmark/core/Utf8.h"

namespace qm::bt {

namespace {

class TProtocolInquiryLookup : public TInquiryLookup {
public:
    TProtocolInquiryLookup(TUniqueFd controller, const TProtocolLimits& limits,
                           std::vector<THciInquiryEntry> entries)
        : controller_(std::move(controller)),
          inquiry_(controller_.Get(), limits),
          entries_(std::move(entries)) {}

    TLookupStatus Next(TSighting& sighting) override {
        if (next_ >= entries_.size()) return TLookupStatus::Of(TLookupCode::EndOfResults);
        THciInquiryEntry& entry = entries_[next_++];
        const std::optional<std::string> name = entry.name ? entry.name : inquiry_.RemoteName(entry);
        sighting = ClassicSighting(std::move(entry), ValidUtf8(name.value_or(std::string())));
        return TLookupStatus::Success();
    }

private:
    TUniqueFd controller_;
    THciInquiry inquiry_;
    std::vector<THciInquiryEntry> entries_;
    std::size_t next_ = 0;
};

class TProtocolServiceLookup : public TServiceLookup {
public:
    explicit TProtocolServiceLookup(std::vector<std::string> records) : records_(std::move(records)) {}

    TLookupStatus Next(std::string& record) override {
        if (next_ >= records_.size()) return TLookupStatus::Of(TLookupCode::EndOfResults);
        record = std::move(records_[next_++]);
        return TLookupStatus::Success();
    }

private:
    std::vector<std::string> records_;
    std::size_t next_ = 0;
};

}  // namespace

TLookupStatus TProtocolPlatform::BeginInquiry(std::unique_ptr<TInquiryLookup>& lookup) {
    int error = 0;
    TUniqueFd controller = sockets_.OpenController(error);
    if (!controller.Valid()) return TLookupStatus::Failure(error);
    std::vector<THciInquiryEntry> entries;
    THciInquiry inquiry(controller.Get(), limits_, clock_);
    const TInquiryTurn turn(turns_);
    int failed = inquiry.Run(entries);
    if (failed == EBUSY && turns_) {
        turns_->Refused();
        turns_->AwaitLePaused();
        failed = inquiry.Run(entries);
    }
    if (failed) return TLookupStatus::Failure(failed);
    if (entries.empty()) return TLookupStatus::Of(TLookupCode::NothingFound);
    lookup = std::make_unique<TProtocolInquiryLookup>(std::move(controller), limits_, std::move(entries));
    return TLookupStatus::Success();
}

TLookupStatus TProtocolPlatform::BeginServiceLookup(const std::string& addressText,
                                                    std::unique_ptr<TServiceLookup>& lookup) {
    const auto address = BTAddressFromString(addressText);
    if (!address) return TLookupStatus::Failure(EINVAL);
    int error = 0;
    TUniqueFd connection = sockets_.ConnectSdp(*address, limits_.sdpConnectMs, error);
    if (!connection.Valid()) return TLookupStatus::Failure(error);
    std::vector<std::string> records;
    if (const int failed = TSdpClient(connection.Get(), limits_).Query(sdp::kL2capUuid, records))
        return TLookupStatus::Failure(failed);
    if (records.empty()) return TLookupStatus::Of(TLookupCode::NothingFound);
    lookup = std::make_unique<TProtocolServiceLookup>(std::move(records));
    return TLookupStatus::Success();
}

}  // namespace qm::bt
