// The effect's parameter chunk: every parameter that is not filtered, saved under its
// identifier with the type of the first typed getter it answers.
#include "hosts/aax/effect/AAX_CEffectParameters.h"

#include "hosts/aax/component/GuardedCall.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace
{
/** A saved double as a float value, unless it is not finite or beyond the range of float. */
bool narrowToFloat(double saved, float& narrowed)
{
    if (!(std::fabs(saved) <= static_cast<double>(std::numeric_limits<float>::max())))
        return false;
    narrowed = static_cast<float>(saved);
    return true;
}
} // namespace

AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* count) const
{
    if (count == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *count = 1;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const
{
    if (chunkID == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *chunkID = index == 0 ? kAAX_ParameterChunkID : 0;
    return index == 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_CHUNK_INDEX;
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID chunkID, uint32_t* size)
{
    if (size == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (chunkID != kAAX_ParameterChunkID)
    {
        *size = 0;
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    return guardedCall(
        [&]() -> AAX_Result
        {
            BuildChunkData();
            mChunkSize = mChunkParser.GetChunkDataSize();
            if (mChunkSize < 0)
                return AAX_ERROR_INCORRECT_CHUNK_SIZE;
            *size = static_cast<uint32_t>(mChunkSize);
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (chunkID != kAAX_ParameterChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    return guardedCall(
        [&]() -> AAX_Result
        {
            // The host sized the record by GetChunkSize: anything else would not fit it.
            BuildChunkData();
            const int32_t size = mChunkParser.GetChunkDataSize();
            if (size != mChunkSize || size == 0)
                return AAX_ERROR_INCORRECT_CHUNK_SIZE;
            chunk->fVersion = mChunkParser.GetChunkVersion();
            std::memset(chunk->fName, 0, sizeof chunk->fName);
            std::strncpy(chunk->fName, kAAX_ParameterChunkName, sizeof chunk->fName - 1);
            return mChunkParser.GetChunkData(*chunk);
        });
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (chunkID != kAAX_ParameterChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    return guardedCall(
        [&]() -> AAX_Result
        {
            mChunkParser.LoadChunk(*chunk);
            ApplyChunkData(false);
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* equal)
{
    if (chunk == nullptr || equal == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (chunk->fChunkID != kAAX_ParameterChunkID)
    {
        *equal = true;
        return AAX_SUCCESS;
    }
    *equal = false;
    return guardedCall(
        [&]() -> AAX_Result
        {
            mChunkParser.LoadChunk(*chunk);
            *equal = ApplyChunkData(true);
            return AAX_SUCCESS;
        });
}

void AAX_CEffectParameters::BuildChunkData()
{
    mChunkParser.Clear();
    for (int32_t index = 0; index < mParameterManager.NumParameters(); ++index)
    {
        const auto* const parameter = mParameterManager.GetParameter(index);
        if (parameter == nullptr || IsFiltered(parameter->Identifier()))
            continue;
        const AAX_CParamID identifier = parameter->Identifier();
        float single = 0.0f;
        int32_t integer = 0;
        bool flag = false;
        double wide = 0.0;
        AAX_CString text;
        if (parameter->GetValueAsFloat(&single))
            mChunkParser.AddDouble(identifier, static_cast<double>(single));
        else if (parameter->GetValueAsInt32(&integer))
            mChunkParser.AddInt32(identifier, integer);
        else if (parameter->GetValueAsBool(&flag))
            mChunkParser.AddInt32(identifier, flag ? 1 : 0);
        else if (parameter->GetValueAsDouble(&wide))
            mChunkParser.AddDouble(identifier, wide);
        else if (parameter->GetValueAsString(&text))
            mChunkParser.AddString(identifier, text);
    }
}

bool AAX_CEffectParameters::ApplyChunkData(bool compareOnly)
{
    bool allEqual = true;
    for (int32_t index = 0; index < mParameterManager.NumParameters() && allEqual; ++index)
    {
        auto* const parameter = mParameterManager.GetParameter(index);
        if (parameter == nullptr || IsFiltered(parameter->Identifier()))
            continue;
        const AAX_CParamID identifier = parameter->Identifier();
        float single = 0.0f;
        int32_t integer = 0;
        bool flag = false;
        double wide = 0.0;
        AAX_CString text;
        // The parameter's type decides which entry applies; a missing one changes nothing.
        if (parameter->GetValueAsFloat(&single))
        {
            double saved = 0.0;
            float narrowed = 0.0f;
            const bool usable =
                mChunkParser.FindDouble(identifier, &saved) && narrowToFloat(saved, narrowed);
            if (compareOnly)
                allEqual = usable && narrowed == single;
            else if (usable)
                parameter->SetValueWithFloat(narrowed);
        }
        else if (parameter->GetValueAsInt32(&integer))
        {
            int32_t saved = 0;
            const bool found = mChunkParser.FindInt32(identifier, &saved);
            if (compareOnly)
                allEqual = found && saved == integer;
            else if (found)
                parameter->SetValueWithInt32(saved);
        }
        else if (parameter->GetValueAsBool(&flag))
        {
            int32_t saved = 0;
            const bool found = mChunkParser.FindInt32(identifier, &saved);
            if (compareOnly)
                allEqual = found && (saved != 0) == flag;
            else if (found)
                parameter->SetValueWithBool(saved != 0);
        }
        else if (parameter->GetValueAsDouble(&wide))
        {
            double saved = 0.0;
            float narrowed = 0.0f;
            float current = 0.0f;
            const bool found = mChunkParser.FindDouble(identifier, &saved);
            if (compareOnly)
                allEqual = found && narrowToFloat(saved, narrowed) &&
                           narrowToFloat(wide, current) && narrowed == current;
            else if (found && std::isfinite(saved))
                parameter->SetValueWithDouble(saved);
        }
        else if (parameter->GetValueAsString(&text))
        {
            AAX_CString saved;
            const bool found = mChunkParser.FindString(identifier, &saved);
            if (compareOnly)
                allEqual = found && saved == text;
            else if (found)
                parameter->SetValueWithString(saved);
        }
    }
    return allEqual;
}

bool AAX_CEffectParameters::IsFiltered(AAX_CParamID identifier) const
{
    return mFilteredParameterIDs.find(std::string_view(identifier)) != mFilteredParameterIDs.end();
}
