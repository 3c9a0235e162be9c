#include "tests/aax/EffectTestSupport.h"

#include "tests/hosts/aax/HostChunk.h"
#include "tests/hosts/aax/HostString.h"

#include <cmath>
#include <limits>

using fakeaax::FakeHost;
using fakeaax::HostString;
using Strings = std::vector<std::string>;

namespace
{
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr uint32_t kElck = effect::kParameterChunkID;
constexpr uint32_t kJuce = 0x6A756365;
constexpr uint32_t kPreview = 0x41535076;

struct Outcome
{
    int64_t result;
    std::string out;
};

Outcome with(int64_t result, std::string out = {})
{
    return {result, std::move(out)};
}

std::string flag(bool value)
{
    return value ? "true" : "false";
}

struct Row
{
    const char* name;
    std::function<Outcome(OpenEffect&, FakeHost&)> call;
    int64_t result;
    std::string out;
    Strings hostCalls = {};        // what the host receives, entries 3 on
    std::vector<int> reached = {}; // the effect's overrides the base calls, in order
    std::function<void(OpenEffect&)> before = {};
};

using O = OpenEffect;
using H = FakeHost;
const char* const kBypass = "MasterBypassID";

void updateGain(O& o, double value)
{
    effect::UpdateParameterNormalizedValue::call(o.object, "0", value, 0);
}

// clang-format off
const Row kRows[] = {
    {"0 QueryInterface, version 1", [](O& o, H&) { void* out = nullptr;
        const auto r = fakeaax::queryInterface(o.object, fakeaax::guid("EffectParametersV1"), &out);
        const bool same = out == o.object; fakeaax::release(out); return with(r, flag(same)); }, 0, "true"},
    {"0 QueryInterface, not offered", [](O& o, H&) { void* out = &o;
        const auto r = fakeaax::queryInterface(o.object, fakeaax::guid("CollectionV1"), &out); return with(r, flag(out == nullptr)); },
        fakeaax::kNoInterface, "true"},
    {"0 QueryInterface, null identifier", [](O& o, H&) { void* out = &o;
        const auto r = fakeaax::queryInterface(o.object, nullptr, &out); return with(r, flag(out == nullptr)); }, fakeaax::kNoInterface, "true"},
    {"0 QueryInterface, null identifier on the inner unknown", [](O& o, H&) { void* unknown = nullptr; void* out = &o;
        fakeaax::queryInterface(o.object, fakeaax::guid("ACFUnknown"), &unknown); const auto r = fakeaax::queryInterface(unknown, nullptr, &out);
        fakeaax::release(unknown); return with(r, flag(out == nullptr)); }, fakeaax::kNoInterface, "true"},
    {"0 QueryInterface, null identifier and out", [](O& o, H&) { return with(fakeaax::queryInterface(o.object, nullptr, nullptr)); }, -20004, ""},
    {"1 AddRef", [](O& o, H&) { const auto count = fakeaax::addRef(o.object); fakeaax::release(o.object); return with(count); }, 2, ""},
    {"2 Release", [](O& o, H&) { fakeaax::addRef(o.object); return with(fakeaax::release(o.object)); }, 1, ""},
    {"5 NotificationReceived, preview without a preview parameter", [](O& o, H&) { int32_t on = 1;
        return with(effect::NotificationReceived::call(o.object, kPreview, &on, 4)); }, 0, ""},
    {"5 NotificationReceived, preview without data", [](O& o, H&) {
        return with(effect::NotificationReceived::call(o.object, kPreview, nullptr, 4)); }, -20004, ""},
    {"5 NotificationReceived, preview data too short", [](O& o, H&) { int32_t on = 1;
        return with(effect::NotificationReceived::call(o.object, kPreview, &on, 2)); }, -20004, ""},
    {"5 NotificationReceived, other type without data", [](O& o, H&) {
        return with(effect::NotificationReceived::call(o.object, 1234, nullptr, 0)); }, 0, ""},
    {"6 GetNumberOfParameters", [](O& o, H&) { int32_t n = -1;
        const auto r = effect::GetNumberOfParameters::call(o.object, &n); return with(r, std::to_string(n)); }, 0, "2"},
    {"6 GetNumberOfParameters, null out", [](O& o, H&) { return with(effect::GetNumberOfParameters::call(o.object, nullptr)); }, -20004, ""},
    {"7 GetMasterBypassParameter", [](O& o, H&) { HostString s;
        const auto r = effect::GetMasterBypassParameter::call(o.object, s.asInterface()); return with(r, s.text()); }, 0, kBypass, {}, {7}},
    {"7 GetMasterBypassParameter, null out", [](O& o, H&) { return with(effect::GetMasterBypassParameter::call(o.object, nullptr)); }, -20004, "", {}, {7}},
    {"8 GetParameterIsAutomatable", [](O& o, H&) { bool a = false;
        const auto r = effect::GetParameterIsAutomatable::call(o.object, kBypass, &a); return with(r, flag(a)); }, 0, "true"},
    {"8 GetParameterIsAutomatable, unknown", [](O& o, H&) { bool a = true;
        const auto r = effect::GetParameterIsAutomatable::call(o.object, "x", &a); return with(r, flag(a)); }, -20001, "false"},
    {"8 GetParameterIsAutomatable, null identifier", [](O& o, H&) { bool a = true;
        const auto r = effect::GetParameterIsAutomatable::call(o.object, nullptr, &a); return with(r, flag(a)); }, -20001, "false"},
    {"8 GetParameterIsAutomatable, null out", [](O& o, H&) { return with(effect::GetParameterIsAutomatable::call(o.object, "0", nullptr)); }, -20004, ""},
    {"9 GetParameterNumberOfSteps", [](O& o, H&) { int32_t n = -1;
        const auto r = effect::GetParameterNumberOfSteps::call(o.object, kBypass, &n); return with(r, std::to_string(n)); }, 0, "2"},
    {"9 GetParameterNumberOfSteps, null out", [](O& o, H&) { return with(effect::GetParameterNumberOfSteps::call(o.object, "0", nullptr)); }, -20004, ""},
    {"10 GetParameterName", [](O& o, H&) { HostString s;
        const auto r = effect::GetParameterName::call(o.object, "0", s.asInterface()); return with(r, s.text()); }, 0, "Gain"},
    {"10 GetParameterName, unknown", [](O& o, H&) { HostString s("old");
        const auto r = effect::GetParameterName::call(o.object, "x", s.asInterface()); return with(r, s.text()); }, 0, ""},
    {"10 GetParameterName, null out", [](O& o, H&) { return with(effect::GetParameterName::call(o.object, "0", nullptr)); }, -20004, ""},
    {"11 GetParameterNameOfLength", [](O& o, H&) { HostString s;
        const auto r = effect::GetParameterNameOfLength::call(o.object, "0", s.asInterface(), 3); return with(r, s.text()); }, 0, "Gai"},
    {"11 GetParameterNameOfLength, null out", [](O& o, H&) { return with(effect::GetParameterNameOfLength::call(o.object, "0", nullptr, 3)); }, -20002, ""},
    {"12 GetParameterDefaultNormalizedValue", [](O& o, H&) { double v = -1;
        const auto r = effect::GetParameterDefaultNormalizedValue::call(o.object, "0", &v); return with(r, numberText(v)); }, 0, "0.8999999761581421"},
    {"12 GetParameterDefaultNormalizedValue, null out", [](O& o, H&) { return with(effect::GetParameterDefaultNormalizedValue::call(o.object, "0", nullptr)); }, -20004, ""},
    {"13 SetParameterDefaultNormalizedValue", [](O& o, H&) { double v = -1;
        const auto r = effect::SetParameterDefaultNormalizedValue::call(o.object, "0", 0.5);
        effect::GetParameterDefaultNormalizedValue::call(o.object, "0", &v); return with(r, numberText(v)); }, 0, "0.5"},
    {"13 SetParameterDefaultNormalizedValue, NaN refused", [](O& o, H&) { double v = -1;
        const auto r = effect::SetParameterDefaultNormalizedValue::call(o.object, "0", kNaN);
        effect::GetParameterDefaultNormalizedValue::call(o.object, "0", &v); return with(r, numberText(v)); }, -20002, "0.8999999761581421"},
    {"13 SetParameterDefaultNormalizedValue, unknown", [](O& o, H&) { return with(effect::SetParameterDefaultNormalizedValue::call(o.object, "x", 0.5)); }, -20001, ""},
    {"14 GetParameterType", [](O& o, H&) { int32_t t = -1, u = -1; effect::GetParameterType::call(o.object, kBypass, &t);
        const auto r = effect::GetParameterType::call(o.object, "0", &u); return with(r, std::to_string(t) + std::to_string(u)); }, 0, "01"},
    {"14 GetParameterType, null out", [](O& o, H&) { return with(effect::GetParameterType::call(o.object, "0", nullptr)); }, -20004, ""},
    {"15 GetParameterOrientation", [](O& o, H&) { int32_t v = -1;
        const auto r = effect::GetParameterOrientation::call(o.object, "0", &v); return with(r, std::to_string(v)); }, 0, "0"},
    {"15 GetParameterOrientation, null out", [](O& o, H&) { return with(effect::GetParameterOrientation::call(o.object, "0", nullptr)); }, -20004, ""},
    {"16 GetParameter", [](O& o, H&) { void* p = nullptr;
        const auto r = effect::GetParameter::call(o.object, "0", &p); return with(r, flag(p != nullptr)); }, 0, "true", {}, {16}},
    {"16 GetParameter: its objects pass no NaN on", [](O& o, H&) { void* g = nullptr; void* b = nullptr; effect::GetParameter::call(o.object, "0", &g);
        effect::GetParameter::call(o.object, kBypass, &b); auto& gain = *static_cast<AAX_IParameter*>(g); auto& bypass = *static_cast<AAX_IParameter*>(b);
        const bool typed = gain.SetValueWithFloat(float(kNaN)); gain.SetNormalizedValue(kNaN); gain.UpdateNormalizedValue(kInfinity);
        bypass.SetNormalizedValue(kNaN); bypass.UpdateNormalizedValue(kInfinity);
        return with(typed, o.effect->valueOf("0") + " " + o.effect->valueOf(kBypass)); }, 0, "0.8999999761581421 0", {}, {16, 16}},
    {"16 GetParameter, unknown", [](O& o, H&) { void* p = &o;
        const auto r = effect::GetParameter::call(o.object, "x", &p); return with(r, flag(p != nullptr)); }, -20001, "false", {}, {16}},
    {"16 GetParameter, null out", [](O& o, H&) { return with(effect::GetParameter::call(o.object, "0", nullptr)); }, -20004, "", {}, {16}},
    {"17 GetParameterIndex", [](O& o, H&) { int32_t i = -9;
        const auto r = effect::GetParameterIndex::call(o.object, "0", &i); return with(r, std::to_string(i)); }, 0, "1"},
    {"17 GetParameterIndex, unknown", [](O& o, H&) { int32_t i = -9;
        const auto r = effect::GetParameterIndex::call(o.object, "x", &i); return with(r, std::to_string(i)); }, -20001, "-1"},
    {"17 GetParameterIndex, null out", [](O& o, H&) { return with(effect::GetParameterIndex::call(o.object, "0", nullptr)); }, -20004, ""},
    {"18 GetParameterIDFromIndex", [](O& o, H&) { HostString s;
        const auto r = effect::GetParameterIDFromIndex::call(o.object, 0, s.asInterface()); return with(r, s.text()); }, 0, kBypass},
    {"18 GetParameterIDFromIndex, out of range", [](O& o, H&) { HostString s("old");
        const auto r = effect::GetParameterIDFromIndex::call(o.object, 2, s.asInterface()); return with(r, s.text()); }, -20001, ""},
    {"18 GetParameterIDFromIndex, null out", [](O& o, H&) { return with(effect::GetParameterIDFromIndex::call(o.object, 0, nullptr)); }, -20004, ""},
    {"19 GetParameterValueInfo", [](O& o, H&) { int32_t v = -1;
        const auto r = effect::GetParameterValueInfo::call(o.object, "0", 1, &v); return with(r, std::to_string(v)); }, -20009, "0"},
    {"19 GetParameterValueInfo, null out", [](O& o, H&) { return with(effect::GetParameterValueInfo::call(o.object, "0", 1, nullptr)); }, -20004, ""},
    {"20 GetParameterValueFromString", [](O& o, H&) { double v = -1; HostString s("0.25");
        const auto r = effect::GetParameterValueFromString::call(o.object, "0", &v, s.asInterface()); return with(r, numberText(v)); }, 0, "0.25"},
    {"20 GetParameterValueFromString, beyond the range", [](O& o, H&) { double v = -1; HostString s("1.5");
        const auto r = effect::GetParameterValueFromString::call(o.object, "0", &v, s.asInterface()); return with(r, numberText(v)); }, -20002, "-1"},
    {"20 GetParameterValueFromString, exponent without digits", [](O& o, H&) { double v = -1; HostString s("1e");
        const auto r = effect::GetParameterValueFromString::call(o.object, "0", &v, s.asInterface()); return with(r, numberText(v)); }, -20002, "-1"},
    {"20 GetParameterValueFromString, host string answers null", [](O& o, H&) { double v = -1; HostString s("0.5"); s.answerNull();
        const auto r = effect::GetParameterValueFromString::call(o.object, "0", &v, s.asInterface()); return with(r, numberText(v)); }, -20002, "-1"},
    {"20 GetParameterValueFromString, null text", [](O& o, H&) { double v = -1;
        return with(effect::GetParameterValueFromString::call(o.object, "0", &v, nullptr)); }, -20004, ""},
    {"21 GetParameterStringFromValue", [](O& o, H&) { HostString s;
        const auto r = effect::GetParameterStringFromValue::call(o.object, "0", 0.5, s.asInterface(), 4); return with(r, s.text()); }, 0, "0.50"},
    {"21 GetParameterStringFromValue, null out", [](O& o, H&) { return with(effect::GetParameterStringFromValue::call(o.object, "0", 0.5, nullptr, 4)); }, -20004, ""},
    {"22 GetParameterValueString ignores the limit", [](O& o, H&) { HostString s;
        const auto r = effect::GetParameterValueString::call(o.object, "0", s.asInterface(), 2); return with(r, s.text()); }, 0, "0.900"},
    {"22 GetParameterValueString, null out", [](O& o, H&) { return with(effect::GetParameterValueString::call(o.object, "0", nullptr, 2)); }, -20004, ""},
    {"23 GetParameterNormalizedValue", [](O& o, H&) { double v = -1;
        const auto r = effect::GetParameterNormalizedValue::call(o.object, "0", &v); return with(r, numberText(v)); }, 0, "0.8999999761581421", {}, {23}},
    {"23 GetParameterNormalizedValue, null out", [](O& o, H&) { return with(effect::GetParameterNormalizedValue::call(o.object, "0", nullptr)); }, -20004, "", {}, {23}},
    {"24 SetParameterNormalizedValue asks the host", [](O& o, H&) {
        const auto r = effect::SetParameterNormalizedValue::call(o.object, "0", 0.25); return with(r, o.effect->valueOf("0")); }, 0, "0.8999999761581421",
        {"automation1.7(\"0\")", "automation1.5(\"0\", 0.25)", "automation1.8(\"0\")"}, {24}},
    {"24 SetParameterNormalizedValue, NaN refused", [](O& o, H&) { return with(effect::SetParameterNormalizedValue::call(o.object, "0", kNaN)); }, -20002, "", {}, {24}},
    {"24 SetParameterNormalizedValue, infinity refused", [](O& o, H&) { return with(effect::SetParameterNormalizedValue::call(o.object, "0", -kInfinity)); }, -20002, "", {}, {24}},
    {"25 SetParameterNormalizedRelative, clamped at 1", [](O& o, H&) { return with(effect::SetParameterNormalizedRelative::call(o.object, "0", 0.5)); }, 0, "",
        {"automation1.7(\"0\")", "automation1.5(\"0\", 1)", "automation1.8(\"0\")"}, {23, 24}, [](O& o) { updateGain(o, 0.75); }},
    {"25 SetParameterNormalizedRelative, clamped at 0", [](O& o, H&) { return with(effect::SetParameterNormalizedRelative::call(o.object, "0", -1.0)); }, 0, "",
        {"automation1.7(\"0\")", "automation1.5(\"0\", 0)", "automation1.8(\"0\")"}, {23, 24}},
    {"25 SetParameterNormalizedRelative, NaN refused", [](O& o, H&) { return with(effect::SetParameterNormalizedRelative::call(o.object, "0", kNaN)); }, -20002, "", {}, {23}},
    {"25 SetParameterNormalizedRelative, unknown", [](O& o, H&) { return with(effect::SetParameterNormalizedRelative::call(o.object, "x", 0.1)); }, -20001, "", {}, {23}},
    {"26 TouchParameter", [](O& o, H&) { return with(effect::TouchParameter::call(o.object, "0")); }, 0, "", {"automation1.7(\"0\")"}},
    {"26 TouchParameter, unknown", [](O& o, H&) { return with(effect::TouchParameter::call(o.object, "x")); }, -20001, ""},
    {"27 ReleaseParameter", [](O& o, H&) { return with(effect::ReleaseParameter::call(o.object, "0")); }, 0, "", {"automation1.8(\"0\")"}},
    {"28 UpdateParameterTouch, unknown", [](O& o, H&) { return with(effect::UpdateParameterTouch::call(o.object, "x", true)); }, 0, ""},
    {"29 UpdateParameterNormalizedValue stores and reports", [](O& o, H&) {
        const auto r = effect::UpdateParameterNormalizedValue::call(o.object, "0", 0.25, 0); return with(r, o.effect->valueOf("0")); }, 0, "0.25",
        {"automation1.6(\"0\", 0.25)"}, {29}},
    {"29 UpdateParameterNormalizedValue, NaN refused", [](O& o, H&) {
        const auto r = effect::UpdateParameterNormalizedValue::call(o.object, "0", kNaN, 0); return with(r, o.effect->valueOf("0")); }, -20002, "0.8999999761581421", {}, {29}},
    {"29 UpdateParameterNormalizedValue, unknown", [](O& o, H&) { return with(effect::UpdateParameterNormalizedValue::call(o.object, "x", 0.5, 0)); }, -20001, "", {}, {29}},
    {"30 UpdateParameterNormalizedRelative, clamped at 1", [](O& o, H&) {
        const auto r = effect::UpdateParameterNormalizedRelative::call(o.object, "0", 0.5); return with(r, o.effect->valueOf("0")); }, 0, "1",
        {"automation1.6(\"0\", 1)"}, {23, 29}, [](O& o) { updateGain(o, 0.75); }},
    {"30 UpdateParameterNormalizedRelative, infinity refused", [](O& o, H&) {
        const auto r = effect::UpdateParameterNormalizedRelative::call(o.object, "0", kInfinity); return with(r, o.effect->valueOf("0")); }, -20002, "0.8999999761581421", {}, {23}},
    {"31 GenerateCoefficients posts the registered field", [](O& o, H& h) {
        const auto r = effect::GenerateCoefficients::call(o.object); return with(r, h.postedPackets().back()); }, 0, "3: 00 00 00 00",
        {"controller1.12(3, ?, 4)"}, {16}},
    {"31 GenerateCoefficients, bypass updated", [](O& o, H& h) {
        const auto r = effect::GenerateCoefficients::call(o.object); return with(r, h.postedPackets().back()); }, 0, "3: 01 00 00 00",
        {"controller1.12(3, ?, 4)"}, {16}, [](O& o) { effect::GenerateCoefficients::call(o.object);
            effect::UpdateParameterNormalizedValue::call(o.object, kBypass, 1.0, 0); }},
    {"31 GenerateCoefficients, nothing dirty", [](O& o, H&) { return with(effect::GenerateCoefficients::call(o.object)); }, 0, "",
        {}, {}, [](O& o) { effect::GenerateCoefficients::call(o.object); }},
    {"32 ResetFieldData", [](O& o, H&) { uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        const auto r = effect::ResetFieldData::call(o.object, 5, data, 6); std::string text;
        for (auto byte : data) text += std::to_string(byte); return with(r, text); }, 0, "00000078"},
    {"32 ResetFieldData, null data", [](O& o, H&) { return with(effect::ResetFieldData::call(o.object, 5, nullptr, 8)); }, -20004, ""},
    {"33 GetNumberOfChunks", [](O& o, H&) { int32_t n = -1;
        const auto r = effect::GetNumberOfChunks::call(o.object, &n); return with(r, std::to_string(n)); }, 0, "1"},
    {"33 GetNumberOfChunks, null out", [](O& o, H&) { return with(effect::GetNumberOfChunks::call(o.object, nullptr)); }, -20004, ""},
    {"34 GetChunkIDFromIndex", [](O& o, H&) { uint32_t id = 1;
        const auto r = effect::GetChunkIDFromIndex::call(o.object, 0, &id); return with(r, std::to_string(id)); }, 0, std::to_string(kElck)},
    {"34 GetChunkIDFromIndex, index 1", [](O& o, H&) { uint32_t id = 1;
        const auto r = effect::GetChunkIDFromIndex::call(o.object, 1, &id); return with(r, std::to_string(id)); }, -20006, "0"},
    {"34 GetChunkIDFromIndex, null out", [](O& o, H&) { return with(effect::GetChunkIDFromIndex::call(o.object, 0, nullptr)); }, -20004, ""},
    {"35 GetChunkSize", [](O& o, H&) { uint32_t size = 1;
        const auto r = effect::GetChunkSize::call(o.object, kElck, &size); return with(r, std::to_string(size)); }, 0, "16"},
    {"35 GetChunkSize, other ID", [](O& o, H&) { uint32_t size = 1;
        const auto r = effect::GetChunkSize::call(o.object, kJuce, &size); return with(r, std::to_string(size)); }, -20007, "0"},
    {"35 GetChunkSize, null out", [](O& o, H&) { return with(effect::GetChunkSize::call(o.object, kElck, nullptr)); }, -20004, ""},
    {"36 GetChunk, other ID", [](O& o, H&) { fakeaax::HostChunk c(16); return with(effect::GetChunk::call(o.object, kJuce, c.record())); }, -20007, ""},
    {"36 GetChunk without GetChunkSize", [](O& o, H&) { fakeaax::HostChunk c(16);
        const auto r = effect::GetChunk::call(o.object, kElck, c.record()); return with(r, flag(c.bytes() == fakeaax::HostChunk(16).bytes())); },
        -20008, "true"},
    {"36 GetChunk after a change in size", [](O& o, H&) { fakeaax::HostChunk c(16); uint32_t size = 0;
        effect::GetChunkSize::call(o.object, kElck, &size); effect::Uninitialize::call(o.object);
        return with(effect::GetChunk::call(o.object, kElck, c.record())); }, -20008, "",
        {"automation1.4(\"MasterBypassID\")", "automation1.4(\"0\")"}},
    {"36 GetChunk, null record", [](O& o, H&) { return with(effect::GetChunk::call(o.object, kElck, nullptr)); }, -20004, ""},
    {"37 SetChunk, other ID", [](O& o, H&) { fakeaax::HostChunk c(16); return with(effect::SetChunk::call(o.object, kJuce, c.record())); }, -20007, ""},
    {"37 SetChunk, null record", [](O& o, H&) { return with(effect::SetChunk::call(o.object, kElck, nullptr)); }, -20004, ""},
    {"38 CompareActiveChunk, other ID", [](O& o, H&) { fakeaax::HostChunk c(0); c.setChunkID(kJuce); bool equal = false;
        const auto r = effect::CompareActiveChunk::call(o.object, c.record(), &equal); return with(r, flag(equal)); }, 0, "true"},
    {"38 CompareActiveChunk, no entries", [](O& o, H&) { fakeaax::HostChunk c(0); c.setChunkID(kElck); bool equal = true;
        const auto r = effect::CompareActiveChunk::call(o.object, c.record(), &equal); return with(r, flag(equal)); }, 0, "false"},
    {"38 CompareActiveChunk, null out", [](O& o, H&) { fakeaax::HostChunk c(0);
        return with(effect::CompareActiveChunk::call(o.object, c.record(), nullptr)); }, -20004, ""},
    {"39 GetNumberOfChanges counts updates found", [](O& o, H&) { int32_t n = -1;
        const auto r = effect::GetNumberOfChanges::call(o.object, &n); return with(r, std::to_string(n)); }, 0, "2", {}, {},
        [](O& o) { updateGain(o, 0.5); updateGain(o, 0.5); effect::UpdateParameterNormalizedValue::call(o.object, "x", 0.5, 0);
            }},
    {"39 GetNumberOfChanges, null out", [](O& o, H&) { return with(effect::GetNumberOfChanges::call(o.object, nullptr)); }, -20004, ""},
    {"40 TimerWakeup", [](O& o, H&) { return with(effect::TimerWakeup::call(o.object)); }, 0, ""},
    {"41 GetCurveData", [](O& o, H&) { return with(effect::GetCurveData::call(o.object, 1, nullptr, 0, nullptr)); }, -20009, ""},
    {"42 GetCustomData", [](O& o, H&) { uint32_t written = 7;
        const auto r = effect::GetCustomData::call(o.object, 1, 4, nullptr, &written); return with(r, std::to_string(written)); }, 0, "0"},
    {"42 GetCustomData, null out", [](O& o, H&) { return with(effect::GetCustomData::call(o.object, 1, 4, nullptr, nullptr)); }, -20004, ""},
    {"43 SetCustomData", [](O& o, H&) { return with(effect::SetCustomData::call(o.object, 1, 0, nullptr)); }, 0, ""},
    {"44 DoMIDITransfers", [](O& o, H&) { return with(effect::DoMIDITransfers::call(o.object)); }, 0, ""},
    {"45 RenderAudio_Hybrid", [](O& o, H&) { return with(effect::RenderAudio_Hybrid::call(o.object, nullptr)); }, -20009, ""},
    {"46 UpdateMIDINodes", [](O& o, H&) { return with(effect::UpdateMIDINodes::call(o.object, 4, nullptr)); }, 0, ""},
    {"47 UpdateControlMIDINodes", [](O& o, H&) { return with(effect::UpdateControlMIDINodes::call(o.object, 4, nullptr)); }, 0, ""},
};
// clang-format on

// Each row opens a fresh instance on a fresh host, so the host's objects are always
// "controller1" and "automation1".
TEST_F(AcfTest, EffectSlotsAnswerByNumber)
{
    for (const auto& row : kRows)
    {
        SCOPED_TRACE(row.name);
        FakeHost fresh;
        {
            OpenEffect open(fresh);
            if (row.before)
                row.before(open);
            fresh.clearLog();
            open.effect->takeReached();
            const Outcome outcome = row.call(open, fresh);
            EXPECT_EQ(outcome.result, row.result);
            EXPECT_EQ(outcome.out, row.out);
            EXPECT_EQ(fresh.calls(), row.hostCalls);
            EXPECT_EQ(open.effect->takeReached(), row.reached);
        }
        EXPECT_EQ(fresh.unbalanced(), Strings{});
    }
}

TEST_F(AcfTest, NameOfLengthPicksTheLongestVariantThatFits)
{
    OpenEffect open(host,
                    [](AAX_CParameterManager& parameters, AAX_CPacketDispatcher&)
                    {
                        parameters.AddParameter(
                            makeFloatParameter("variants", "Output Gain A\nOut Gai\nOut", 0.0f));
                        parameters.AddParameter(makeFloatParameter("empty", "", 0.0f));
                    });
    struct Case
    {
        const char* identifier;
        int32_t length;
        const char* expected;
    };
    const Case cases[] = {
        {"variants", 20, "Output Gain A"},
        {"variants", 10, "Out Gai"},
        {"variants", 5, "Out"},
        {"variants", 2, "Ou"},
        {"variants", 0, ""},
        {"variants", -1, ""},
        {"0", 9, "Gain"},
        {"0", 2, "Ga"},
        {"empty", 4, ""},
        {"absent", 4, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.identifier) + " at " + std::to_string(c.length));
        HostString name("old");
        EXPECT_EQ(effect::GetParameterNameOfLength::call(open.object, c.identifier,
                                                         name.asInterface(), c.length),
                  0);
        EXPECT_EQ(name.text(), c.expected);
    }
}
} // namespace
