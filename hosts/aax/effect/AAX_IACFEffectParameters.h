// The effect-parameters interface the host calls on a plug-in instance: entries 0 to 2 of the
// root interface, then the entries below in declaration order (3 to 43 in version 1, 44 to 47
// in version 2). The order is the host's, so it must not change.
#pragma once

#include "hosts/aax/chunks/AAX_SPlugInChunk.h"
#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

class AAX_IParameter;
class AAX_IString;

class AAX_IACFEffectParameters : public IACFUnknown
{
public:
    static constexpr ACFGuid kIID = acfGuid("{964E333D-334C-533F-C2C7-3834C3C23E3E}");

    virtual AAX_Result Initialize(IACFUnknown* controller) = 0;
    virtual AAX_Result Uninitialize() = 0;
    virtual AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) = 0;
    virtual AAX_Result GetNumberOfParameters(int32_t* count) const = 0;
    virtual AAX_Result GetMasterBypassParameter(AAX_IString* identifier) const = 0;
    virtual AAX_Result GetParameterIsAutomatable(AAX_CParamID identifier,
                                                 bool* automatable) const = 0;
    virtual AAX_Result GetParameterNumberOfSteps(AAX_CParamID identifier, int32_t* steps) const = 0;
    virtual AAX_Result GetParameterName(AAX_CParamID identifier, AAX_IString* name) const = 0;
    virtual AAX_Result GetParameterNameOfLength(AAX_CParamID identifier, AAX_IString* name,
                                                int32_t length) const = 0;
    virtual AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID identifier,
                                                          double* value) const = 0;
    virtual AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID identifier,
                                                          double value) = 0;
    virtual AAX_Result GetParameterType(AAX_CParamID identifier, int32_t* type) const = 0;
    virtual AAX_Result GetParameterOrientation(AAX_CParamID identifier,
                                               int32_t* orientation) const = 0;
    virtual AAX_Result GetParameter(AAX_CParamID identifier, AAX_IParameter** parameter) = 0;
    virtual AAX_Result GetParameterIndex(AAX_CParamID identifier, int32_t* index) const = 0;
    virtual AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* identifier) const = 0;
    virtual AAX_Result GetParameterValueInfo(AAX_CParamID identifier, int32_t selector,
                                             int32_t* value) const = 0;
    virtual AAX_Result GetParameterValueFromString(AAX_CParamID identifier, double* value,
                                                   const AAX_IString* text) const = 0;
    virtual AAX_Result GetParameterStringFromValue(AAX_CParamID identifier, double value,
                                                   AAX_IString* text, int32_t maxLength) const = 0;
    virtual AAX_Result GetParameterValueString(AAX_CParamID identifier, AAX_IString* text,
                                               int32_t maxLength) const = 0;
    virtual AAX_Result GetParameterNormalizedValue(AAX_CParamID identifier,
                                                   double* value) const = 0;
    virtual AAX_Result SetParameterNormalizedValue(AAX_CParamID identifier, double value) = 0;
    virtual AAX_Result SetParameterNormalizedRelative(AAX_CParamID identifier, double delta) = 0;
    virtual AAX_Result TouchParameter(AAX_CParamID identifier) = 0;
    virtual AAX_Result ReleaseParameter(AAX_CParamID identifier) = 0;
    virtual AAX_Result UpdateParameterTouch(AAX_CParamID identifier, bool touched) = 0;
    virtual AAX_Result UpdateParameterNormalizedValue(AAX_CParamID identifier, double value,
                                                      int32_t updateSource) = 0;
    virtual AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID identifier, double delta) = 0;
    virtual AAX_Result GenerateCoefficients() = 0;
    virtual AAX_Result ResetFieldData(int32_t fieldIndex, void* data, uint32_t size) const = 0;
    virtual AAX_Result GetNumberOfChunks(int32_t* count) const = 0;
    virtual AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const = 0;
    virtual AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) = 0;
    virtual AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) = 0;
    virtual AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) = 0;
    virtual AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* equal) = 0;
    virtual AAX_Result GetNumberOfChanges(int32_t* changes) const = 0;
    virtual AAX_Result TimerWakeup() = 0;
    virtual AAX_Result GetCurveData(AAX_CTypeID curveType, const float* values, uint32_t numValues,
                                    float* outValues) const = 0;
    virtual AAX_Result GetCustomData(AAX_CTypeID dataBlockID, uint32_t size, void* data,
                                     uint32_t* written) const = 0;
    virtual AAX_Result SetCustomData(AAX_CTypeID dataBlockID, uint32_t size, const void* data) = 0;

protected:
    ~AAX_IACFEffectParameters() = default;
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
    static constexpr ACFGuid kIID = acfGuid("{F1F47D06-308F-4CC5-9C7C-50A83F8AB813}");

    virtual AAX_Result DoMIDITransfers() = 0;
    virtual AAX_Result RenderAudio_Hybrid(void* renderInfo) = 0;
    virtual AAX_Result UpdateMIDINodes(int32_t fieldIndex, void* packet) = 0;
    virtual AAX_Result UpdateControlMIDINodes(AAX_CTypeID nodeID, void* packet) = 0;

protected:
    ~AAX_IACFEffectParameters_V2() = default;
};
