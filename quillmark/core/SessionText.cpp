#include "quillmark/core/SessionText.h"

#include "quillmark/core/DeviceFields.h"
#include "quillmark/core/ObjectReader.h"
#include "quillmark/core/ObjectWriter.h"

namespace qm {

namespace {

// Each property is written only when its value differs from the default of a new object.

void WriteDevice(TObjectWriter& writer, const TDeviceFields& device) {
    const auto integer = [&writer](std::string_view name, std::int32_t value) {
        if (value != 0) writer.IntegerProperty(name, value);
    };
    if (!device.name.empty()) writer.TextProperty("Name", device.name);
    if (!device.address.empty()) writer.TextProperty("Address", device.address);
    if (const char* type = DeviceTypeIdentifier(device.type); type && device.type != dtOther)
        writer.IdentifierProperty("Type", type);
    integer("MajorClass", device.majorClass);
    integer("MinorClass", device.minorClass);
    integer("FirstSeen", device.firstSeen);
    integer("LastSeen", device.lastSeen);
    integer("SeenCount", device.seenCount);
    integer("Flags", device.flags);
    if (!device.rawSDPStream.empty()) writer.BytesProperty("RawSDPStream", device.rawSDPStream);
    if (!device.rawSDPRecords.empty())
        writer.BytesListProperty("RawSDPRecords.Strings", device.rawSDPRecords);
    if (!device.location.empty()) writer.TextProperty("Location", device.location);
}

void WriteDeviceList(TObjectWriter& writer, const std::vector<TDeviceFields>& devices) {
    writer.BeginCollection("DeviceList");
    for (const TDeviceFields& device : devices) {
        writer.BeginItem();
        WriteDevice(writer, device);
        writer.EndItem();
    }
    writer.EndCollection();
}

TDeviceType ReadDeviceType(TObjectReader& reader) {
    const std::string identifier = reader.ReadIdentifier();
    for (int value = 0; value < kDeviceTypeCount; ++value) {
        const auto type = static_cast<TDeviceType>(value);
        if (SameWord(identifier, DeviceTypeIdentifier(type))) return type;
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
    if (SameWord(name, "Name")) {
        device.SetName(reader.ReadText());
    } else if (SameWord(name, "Address")) {
        device.SetAddress(reader.ReadText());
    } else if (SameWord(name, "Type")) {
        device.SetType(ReadDeviceType(reader));
    } else if (SameWord(name, "MajorClass")) {
        device.SetMajorClass(reader.ReadInt32());
    } else if (SameWord(name, "MinorClass")) {
        device.SetMinorClass(reader.ReadInt32());
    } else if (SameWord(name, "FirstSeen")) {
        device.SetFirstSeen(reader.ReadInt32());
    } else if (SameWord(name, "LastSeen")) {
        device.SetLastSeen(reader.ReadInt32());
    } else if (SameWord(name, "SeenCount")) {
        device.SetSeenCount(reader.ReadInt32());
    } else if (SameWord(name, "Flags")) {
        device.SetFlags(reader.ReadInt32());
    } else if (SameWord(name, "RawSDPStream")) {
        device.SetRawSDPStream(reader.ReadBytes());
    } else if (SameWord(name, "RawSDPRecords.Strings")) {
        device.RawSDPRecords() = ReadList<std::vector<std::string>>(reader, &TObjectReader::ReadBytes);
    } else if (SameWord(name, "Location")) {
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

// The name returns in the header line, "object " name ": " class, so it must be an identifier
// that keeps that line within the length the reader accepts; otherwise a session read from this
// file would save a file that no longer reads.
void CheckObjectName(const TObjectReader& reader, const std::string& name) {
    constexpr std::size_t kMaxLength =
        kMaxObjectLineLength - std::string_view("object : ").size() - kSessionClassName.size();
    if (!name.empty() && (!IsIdentifier(name) || name.size() > kMaxLength))
        reader.Fail("Invalid object name");
}

// The two string-list objects can be set to nil by a file; their Strings cannot be set then, and
// a list still nil at the end of the file becomes an empty list again.
class TSessionBuilder {
public:
    TSessionBuilder(TObjectReader& reader, TSessionState& state) : FReader(reader), FState(state) {}

    void Apply(const std::string& name) {
        if (SameWord(name, "Name")) {
            std::string objectName = FReader.ReadText();
            CheckObjectName(FReader, objectName);
            FState.SetName(std::move(objectName));
        } else if (SameWord(name, "Tag")) {
            FState.SetTag(FReader.ReadInt32());
        } else if (SameWord(name, "DeviceList")) {
            ReadDeviceList(FReader, FState.DeviceList());
        } else if (SameWord(name, "LocationList")) {
            ReadNilList(FState.LocationList(), FLocationListNil);
        } else if (SameWord(name, "LocationList.Strings")) {
            ReadStrings(FState.LocationList(), FLocationListNil);
        } else if (SameWord(name, "Location")) {
            FState.SetCurrentLocation(FReader.ReadText());
        } else if (SameWord(name, "Log")) {
            ReadNilList(FState.Log(), FLogNil);
        } else if (SameWord(name, "Log.Strings")) {
            ReadStrings(FState.Log(), FLogNil);
        } else if (SameWord(name, "HideInactive")) {
            FState.SetHideInactive(FReader.ReadBoolean());
        } else if (SameWord(name, "FoundSound")) {
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

void WriteSession(TObjectWriter& writer, const TSessionState& state,
                  const std::vector<TDeviceFields>& devices) {
    writer.BeginObject(state.Name(), kSessionClassName);
    if (state.Tag() != 0) writer.IntegerProperty("Tag", state.Tag());
    WriteDeviceList(writer, devices);
    if (!state.LocationList().empty()) writer.TextListProperty("LocationList.Strings", state.LocationList());
    if (!state.Location().empty()) writer.TextProperty("Location", state.Location());
    if (!state.Log().empty()) writer.TextListProperty("Log.Strings", state.Log());
    if (state.HideInactive()) writer.IdentifierProperty("HideInactive", "True");
    if (!state.FoundSound().empty()) writer.TextProperty("FoundSound", state.FoundSound());
    writer.EndObject();
}

std::vector<TDeviceFields> DevicesOf(const TSessionState& state) {
    std::vector<TDeviceFields> devices;
    CopyDeviceFields(state.DeviceList(), devices);
    return devices;
}

}  // namespace

std::string WriteSessionText(const TSessionState& state) {
    std::string text;
    WriteSessionText(state, DevicesOf(state), text);
    return text;
}

void WriteSessionText(const TSessionState& state, TTextOutput output) {
    TObjectWriter writer(std::move(output));
    WriteSession(writer, state, DevicesOf(state));
}

void WriteSessionText(const TSessionState& state, const std::vector<TDeviceFields>& devices,
                      std::string& text) {
    TObjectWriter writer(text);
    WriteSession(writer, state, devices);
}

std::unique_ptr<TSessionState> ReadSessionText(std::string_view text, const IClock& clock) {
    TObjectReader reader(text);
    std::string name;
    std::string className;
    reader.ReadHeader(name, className);
    if (!SameWord(className, kSessionClassName)) reader.Fail("Unknown class \"" + className + "\"");
    CheckObjectName(reader, name);
    auto state = std::make_unique<TSessionState>(clock);
    state->SetName(name);
    TSessionBuilder builder(reader, *state);
    std::string property;
    while (reader.NextProperty(property)) builder.Apply(property);
    reader.ReadEndOfText();
    return state;
}

}  // namespace qm
