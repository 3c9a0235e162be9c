// The effect-GUI interface as the fake host declares it: the entries it calls on a plug-in's
// window object, by number, written apart from the library's class.
#pragma once

#include "tests/hosts/aax/FakeAcf.h"
#include "tests/hosts/aax/LibraryEntries.h"

namespace fakeaax::gui
{
using Initialize = LibraryEntry<3, int32_t(void* controller)>;
using Uninitialize = LibraryEntry<4, int32_t()>;
using NotificationReceived = LibraryEntry<5, int32_t(uint32_t type, const void*, uint32_t)>;
using SetViewContainer = LibraryEntry<6, int32_t(void* container)>;
using GetViewSize = LibraryEntry<7, int32_t(ViewSize*)>;
using Draw = LibraryEntry<8, int32_t(const void* area)>;
using TimerWakeup = LibraryEntry<9, int32_t()>;
using ParameterUpdated = LibraryEntry<10, int32_t(const char* identifier)>;
using GetCustomLabel = LibraryEntry<11, int32_t(uint32_t selector, void* label)>;
using SetControlHighlightInfo = LibraryEntry<12, int32_t(const char*, bool, int32_t colour)>;
} // namespace fakeaax::gui
