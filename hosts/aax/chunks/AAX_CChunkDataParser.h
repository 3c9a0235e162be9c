// The content of a parameter chunk: a list of named, typed values, written to and read from the
// data area of a host chunk record.
#pragma once

#include "hosts/aax/chunks/AAX_SPlugInChunk.h"
#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/text/AAX_CString.h"

#include <cstdint>
#include <vector>

/** The data area: the marker 01 01 01 01, then one entry per value: a two-byte tag ("f_",
    "l_", "d_", "s_" or "r_"), the name and a zero byte padded to a multiple of 4, then the
    value big-endian (4 bytes; 8 for a double; a text with its zero byte padded to a multiple
    of 4). Names need not be unique. One thread at a time. */
class AAX_CChunkDataParser
{
public:
    enum DataType : int32_t
    {
        kNoValue = 0, // a tag the reader does not know
        kFloat = 1,
        kInt32 = 2,
        kDouble = 3,
        kInt16 = 4,
        kString = 5,
    };

    struct DataValue
    {
        int32_t mDataType = kNoValue;
        AAX_CString mDataName;
        /** The integer in the low bits, or the double's bit pattern. */
        uint64_t mIntValue = 0;
        AAX_CString mStringValue;
    };

    AAX_CChunkDataParser() = default;
    virtual ~AAX_CChunkDataParser() = default;

    void AddDouble(const char* name, double value);
    void AddInt32(const char* name, int32_t value);
    void AddString(const char* name, const AAX_CString& value);

    /** True, with the value, when FindName finds the name and its entry has the type asked
        for; otherwise false and the output is left as it was. */
    bool FindDouble(const char* name, double* value);
    bool FindInt32(const char* name, int32_t* value);
    bool FindString(const char* name, AAX_IString* value);
    /** Searches on from the entry found last, wrapping round: lookups in written order take
        one step each. -1 when absent. */
    int32_t FindName(const AAX_CString& name);

    /** No entries, version -1. */
    void Clear();
    /** The bytes the data area needs, at least 4; -1 when that does not fit 32 bits. */
    int32_t GetChunkDataSize() const;
    /** Writes the size field and the data area (GetChunkDataSize bytes after the header).
        -333, traced, when an entry would not fit. */
    AAX_Result GetChunkData(AAX_SPlugInChunk& chunk) const;
    /** Replaces the entries with the chunk's, reading no byte beyond its data size: a record
        without the marker gives none, and reading stops at an entry that runs past the end. */
    void LoadChunk(const AAX_SPlugInChunk& chunk);

    int32_t GetChunkVersion() const { return mChunkVersion; }
    const std::vector<DataValue>& GetDataValues() const { return mDataValues; }

private:
    /** The entry FindName finds, when it has the type; else null. */
    const DataValue* FindEntry(const char* name, int32_t type);

    int32_t mLastFoundIndex = -1;
    int32_t mChunkVersion = -1;
    std::vector<DataValue> mDataValues;
};
