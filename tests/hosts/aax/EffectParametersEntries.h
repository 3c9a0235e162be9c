// The effect-parameters interface as the fake host declares it: the entries it calls on a
// plug-in instance, by number, written apart from the library's class. Strings are the host's
// text objects and chunks its records, both passed as plain pointers.
#pragma once

#include "tests/hosts/aax/LibraryEntries.h"

namespace fakeaax::effect
{
using Text = const char*;
using String = void*;

using Initialize = LibraryEntry<3, int32_t(void* hostObject)>;
using Uninitialize = LibraryEntry<4, int32_t()>;
using NotificationReceived = LibraryEntry<5, int32_t(uint32_t type, const void*, uint32_t)>;
using GetNumberOfParameters = LibraryEntry<6, int32_t(int32_t*)>;
using GetMasterBypassParameter = LibraryEntry<7, int32_t(String)>;
using GetParameterIsAutomatable = LibraryEntry<8, int32_t(Text, bool*)>;
using GetParameterNumberOfSteps = LibraryEntry<9, int32_t(Text, int32_t*)>;
using GetParameterName = LibraryEntry<10, int32_t(Text, String)>;
using GetParameterNameOfLength = LibraryEntry<11, int32_t(Text, String, int32_t)>;
using GetParameterDefaultNormalizedValue = LibraryEntry<12, int32_t(Text, double*)>;
using SetParameterDefaultNormalizedValue = LibraryEntry<13, int32_t(Text, double)>;
using GetParameterType = LibraryEntry<14, int32_t(Text, int32_t*)>;
using GetParameterOrientation = LibraryEntry<15, int32_t(Text, int32_t*)>;
using GetParameter = LibraryEntry<16, int32_t(Text, void**)>;
using GetParameterIndex = LibraryEntry<17, int32_t(Text, int32_t*)>;
using GetParameterIDFromIndex = LibraryEntry<18, int32_t(int32_t, String)>;
using GetParameterValueInfo = LibraryEntry<19, int32_t(Text, int32_t, int32_t*)>;
using GetParameterValueFromString = LibraryEntry<20, int32_t(Text, double*, const void*)>;
using GetParameterStringFromValue = LibraryEntry<21, int32_t(Text, double, String, int32_t)>;
using GetParameterValueString = LibraryEntry<22, int32_t(Text, String, int32_t)>;
using GetParameterNormalizedValue = LibraryEntry<23, int32_t(Text, double*)>;
using SetParameterNormalizedValue = LibraryEntry<24, int32_t(Text, double)>;
using SetParameterNormalizedRelative = LibraryEntry<25, int32_t(Text, double)>;
using TouchParameter = LibraryEntry<26, int32_t(Text)>;
using ReleaseParameter = LibraryEntry<27, int32_t(Text)>;
using UpdateParameterTouch = LibraryEntry<28, int32_t(Text, bool)>;
using UpdateParameterNormalizedValue = LibraryEntry<29, int32_t(Text, double, int32_t source)>;
using UpdateParameterNormalizedRelative = LibraryEntry<30, int32_t(Text, double)>;
using GenerateCoefficients = LibraryEntry<31, int32_t()>;
using ResetFieldData = LibraryEntry<32, int32_t(int32_t field, void*, uint32_t)>;
using GetNumberOfChunks = LibraryEntry<33, int32_t(int32_t*)>;
using GetChunkIDFromIndex = LibraryEntry<34, int32_t(int32_t, uint32_t*)>;
using GetChunkSize = LibraryEntry<35, int32_t(uint32_t id, uint32_t*)>;
using GetChunk = LibraryEntry<36, int32_t(uint32_t id, void* record)>;
using SetChunk = LibraryEntry<37, int32_t(uint32_t id, const void* record)>;
using CompareActiveChunk = LibraryEntry<38, int32_t(const void* record, bool*)>;
using GetNumberOfChanges = LibraryEntry<39, int32_t(int32_t*)>;
using TimerWakeup = LibraryEntry<40, int32_t()>;
using GetCurveData = LibraryEntry<41, int32_t(uint32_t, const float*, uint32_t, float*)>;
using GetCustomData = LibraryEntry<42, int32_t(uint32_t, uint32_t, void*, uint32_t*)>;
using SetCustomData = LibraryEntry<43, int32_t(uint32_t, uint32_t, const void*)>;
using DoMIDITransfers = LibraryEntry<44, int32_t()>;
using RenderAudio_Hybrid = LibraryEntry<45, int32_t(void*)>;
using UpdateMIDINodes = LibraryEntry<46, int32_t(int32_t field, void* packet)>;
using UpdateControlMIDINodes = LibraryEntry<47, int32_t(uint32_t node, void* packet)>;

constexpr uint32_t kParameterChunkID = 0x656C636B; // 'elck'
} // namespace fakeaax::effect
