#include "quillmark/core/SessionText.h"

#include <algorithm>

#include "quillmark/core/ObjectReader.h"
#include "quillmark/core/ObjectWriter.h"

namespace qm {

namespace {

// Each property is written only when its value differs from the default of a new object.

void WriteDevice(TObjectWriter& writer, const TBTDevice& device) {
    const auto integer = [&writer](std::string_view name, std::int32_t value) {
        if (value != 0) writer.IntegerProperty(name, value);
    };
    if (!device.Name().empty()) writer.TextProperty("Name", device.Name());
    if (!device.Address().empty()) writer.TextProperty("Address", device.Address());
    if (const char* type = DeviceTypeIdentifier(device.Type()); type && device.Type() != dtOther)
        writer.IdentifierProperty("Type", type);
    integer("MajorClass", device.MajorClass());
    integer("MinorClass", device.MinorClass());
    integer("FirstSeen", device.FirstSeen());
    integer("LastSeen", device.LastSeen());
    integer("SeenCount", device.SeenCount());
    integer("Flags", device.Flags());
    if (!device.RawSDPStream().empty()) writer.BytesProperty("RawSDPStream", device.RawSDPStream());
    if (!device.RawSDPRecords().empty())
        writer.BytesListProperty("RawSDPRecords.Strings", device.RawSDPRecords());
    if (!device.Location().empty()) writer.TextProperty("Location", device.Location());
}

void WriteDeviceList(TObjectWriter& writer, const TDeviceList& list) {
    writer.BeginCollection("DeviceList");
    for (int i = 0; i < list.Count(); ++i) {
        writer.BeginItem();
        WriteDevice(writer, list.Items(i));
        writer.EndItem();
    }
    writer.EndCollection();
}

// ASCII lower case, for matching property names in any letter case.
std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

TDeviceType ReadDeviceType(TObjectReader& reader) {
    const std::string identifier = reader.ReadIdentifier();
    const std::string key = Lowered(identifier);
    for (int value = 0; value < kDeviceTypeCount; ++value) {
        const auto type = static_cast<TDeviceType>(value);
        if (Lowered(DeviceTypeIdentifier(type)) == key) return type;
    }
    reader.Fail("Unknown device type \"" + identifier + "\"");
}

template <class List>
List ReadList(TObjectReader& reader, std::string (TObjectReader::*readEntry)()) {
    List entries;
    reader.BeginList();
    while (reader.NextListEntry()) entries.push_back((reader.*readEntry)());
    return entries;
}

void ReadDeviceProperty(TObjectReader& reader, const std::string& name, TBTDevice& device) {
    const std::string key = Lowered(name);
    if (key == "name") {
        device.SetName(reader.ReadText());
    } else if (key == "address") {
        device.SetAddress(reader.ReadText());
    } else if (key == "type") {
        device.SetType(ReadDeviceType(reader));
    } else if (key == "majorclass") {
        device.SetMajorClass(reader.ReadInt32());
    } else if (key == "minorclass") {
        device.SetMinorClass(reader.ReadInt32());
    } else if (key == "firstseen") {
        device.SetFirstSeen(reader.ReadInt32());
    } else if (key == "lastseen") {
        device.SetLastSeen(reader.ReadInt32());
    } else if (key == "seencount") {
        device.SetSeenCount(reader.ReadInt32());
    } else if (key == "flags") {
        device.SetFlags(reader.ReadInt32());
    } else if (key == "rawsdpstream") {
        device.SetRawSDPStream(reader.ReadBytes());
    } else if (key == "rawsdprecords.strings") {
        device.RawSDPRecords() = ReadList<std::vector<std::string>>(reader, &TObjectReader::ReadBytes);
    } else if (key == "location") {
        device.SetLocation(reader.ReadText());
    } else {
        reader.Fail("Unknown device property \"" + name + "\"");
    }
}

// The collection replaces the devices read so far only when it has at least one item.
void ReadDeviceList(TObjectReader& reader, TDeviceList& list) {
    if (reader.ReadNil()) reader.Fail("The device list cannot be nil");
    reader.BeginCollection();
    bool first = true;
    std::string name;
    while (reader.NextItem()) {
        if (first) list.Clear();
        first = false;
        TBTDevice& device = list.Add();
        while (reader.NextProperty(name)) ReadDeviceProperty(reader, name, device);
    }
}

// The two string-list objects can be set to nil by a file; their Strings cannot be set then, and
// a list still nil at the end of the file becomes an empty list again.
class TSessionBuilder {
public:
    TSessionBuilder(TObjectReader& reader, TSessionState& state) : FReader(reader), FState(state) {}

    void Apply(const std::string& name) {
        const std::string key = Lowered(name);
        if (key == "name") {
            FState.SetName(FReader.ReadText());
        } else if (key == "tag") {
            FState.SetTag(FReader.ReadInt32());
        } else if (key == "devicelist") {
            ReadDeviceList(FReader, FState.DeviceList());
        } else if (key == "locationlist") {
            ReadNilList(FState.LocationList(), FLocationListNil);
        } else if (key == "locationlist.strings") {
            ReadStrings(FState.LocationList(), FLocationListNil);
        } else if (key == "location") {
            FState.SetCurrentLocation(FReader.ReadText());
        } else if (key == "log") {
            ReadNilList(FState.Log(), FLogNil);
        } else if (key == "log.strings") {
            ReadStrings(FState.Log(), FLogNil);
        } else if (key == "hideinactive") {
            FState.SetHideInactive(FReader.ReadBoolean());
        } else if (key == "foundsound") {
            FState.SetFoundSound(FReader.ReadText());
        } else {
            FReader.Fail("Unknown property \"" + name + "\"");
        }
    }

private:
    template <class List>
    void ReadNilList(List& list, bool& isNil) {
        if (!FReader.ReadNil()) FReader.Fail("Only nil can be assigned to a list");
        list.clear();
        isNil = true;
    }

    template <class List>
    void ReadStrings(List& list, bool isNil) {
        if (isNil) FReader.Fail("The list is nil");
        list = ReadList<List>(FReader, &TObjectReader::ReadText);
    }

    TObjectReader& FReader;
    TSessionState& FState;
    bool FLocationListNil = false;
    bool FLogNil = false;
};

void WriteSession(TObjectWriter& writer, const TSessionState& state) {
    writer.BeginObject(state.Name(), kSessionClassName);
    if (state.Tag() != 0) writer.IntegerProperty("Tag", state.Tag());
    WriteDeviceList(writer, state.DeviceList());
    if (!state.LocationList().empty()) writer.TextListProperty("LocationList.Strings", state.LocationList());
    if (!state.Location().empty()) writer.TextProperty("Location", state.Location());
    if (!state.Log().empty()) writer.TextListProperty("Log.Strings", state.Log());
    if (state.HideInactive()) writer.IdentifierProperty("HideInactive", "True");
    if (!state.FoundSound().empty()) writer.TextProperty("FoundSound", state.FoundSound());
    writer.EndObject();
}

}  // namespace

std::string WriteSessionText(const TSessionState& state) {
    std::string text;
    TObjectWriter writer(text);
    WriteSession(writer, state);
    return text;
}

void WriteSessionText(const TSessionState& state, TTextOutput output) {
    TObjectWriter writer(std::move(output));
    WriteSession(writer, state);
}

std::unique_ptr<TSessionState> ReadSessionText(std::string_view text, const IClock& clock) {
    TObjectReader reader(text);
    std::string name;
    std::string className;
    reader.ReadHeader(name, className);
    if (Lowered(className) != Lowered(std::string(kSessionClassName)))
        reader.Fail("Unknown class \"" + className + "\"");
    auto state = std::make_unique<TSessionState>(clock);
    state->SetName(name);
    TSessionBuilder builder(reader, *state);
    std::string property;
    while (reader.NextProperty(property)) builder.Apply(property);
    reader.ReadEndOfText();
    return state;
}

}  // namespace qm
