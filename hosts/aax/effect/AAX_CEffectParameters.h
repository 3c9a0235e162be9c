// The data model of one plug-in instance in the host: its parameters, the packets they feed to
// the real-time algorithm, and the one chunk ('elck', "Complete Controls State") in which they
// are saved. A derived class creates the parameters and registers their packets in EffectInit.
#pragma once

#include "hosts/aax/chunks/AAX_CChunkDataParser.h"
#include "hosts/aax/effect/AAX_IEffectParameters.h"
#include "hosts/aax/packets/AAX_CPacketDispatcher.h"
#include "hosts/aax/parameters/AAX_CParameterManager.h"

#include <atomic>
#include <memory>
#include <set>
#include <string>

class AAX_IController;
class AAX_ITransport;

inline constexpr AAX_CTypeID kAAX_ParameterChunkID = 0x656C636B; // 'elck'
inline constexpr char kAAX_ParameterChunkName[] = "Complete Controls State";
inline constexpr char kAAX_MasterBypassID[] = "MasterBypassID";
inline constexpr char kAAX_PreviewID[] = "PreviewID";
/** The host's preview switch; its data is a 32-bit integer, non-zero for on. */
inline constexpr AAX_CTypeID kAAX_PreviewNotification = 0x41535076; // 'ASPv'

/** The host calls it from its own threads and it takes no lock of its own; the dispatcher
    serialises packet work, and the chunk operations must not overlap each other. Host-facing
    operations answer -20004 for a null out or data pointer, -20001 for an identifier the
    manager does not hold, and 0x8000FFFF when anything is thrown. The operations the base calls
    on itself (the parameter queries the relative changes use, the master-bypass query,
    EffectInit, GetParameter) go through the table, so a derived class's overrides are
    reached. */
class AAX_CEffectParameters : public AAX_IEffectParameters
{
public:
    AAX_CEffectParameters();
    /** Also what Uninitialize does, if the host never called it. */
    ~AAX_CEffectParameters() override;

    AAX_CEffectParameters(const AAX_CEffectParameters&) = delete;
    AAX_CEffectParameters& operator=(const AAX_CEffectParameters&) = delete;

    /** Creates the controller, automation and transport on the host object, runs EffectInit
        and keeps the master bypass out of the chunk. EffectInit's failure is the answer. An
        instance initialised before is uninitialised first. */
    AAX_Result Initialize(IACFUnknown* controller) override;
    /** Deletes the parameters, then the host's objects; packets registered stay. */
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_Result GetNumberOfParameters(int32_t* count) const override;
    AAX_Result GetMasterBypassParameter(AAX_IString* identifier) const override;
    AAX_Result GetParameterIsAutomatable(AAX_CParamID identifier, bool* automatable) const override;
    AAX_Result GetParameterNumberOfSteps(AAX_CParamID identifier, int32_t* steps) const override;
    /** An unknown identifier gives "" and 0. */
    AAX_Result GetParameterName(AAX_CParamID identifier, AAX_IString* name) const override;
    /** The longest '\n'-separated variant of the shortened name that fits; else its first
        `length` characters. A null name answers -20002; an unknown identifier "" and 0. */
    AAX_Result GetParameterNameOfLength(AAX_CParamID identifier, AAX_IString* name,
                                        int32_t length) const override;
    AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID identifier,
                                                  double* value) const override;
    AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID identifier, double value) override;
    AAX_Result GetParameterType(AAX_CParamID identifier, int32_t* type) const override;
    AAX_Result GetParameterOrientation(AAX_CParamID identifier,
                                       int32_t* orientation) const override;
    AAX_Result GetParameter(AAX_CParamID identifier, AAX_IParameter** parameter) override;
    AAX_Result GetParameterIndex(AAX_CParamID identifier, int32_t* index) const override;
    AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* identifier) const override;
    /** Not implemented: -20009. */
    AAX_Result GetParameterValueInfo(AAX_CParamID identifier, int32_t selector,
                                     int32_t* value) const override;
    /** -20002 when the text does not convert. */
    AAX_Result GetParameterValueFromString(AAX_CParamID identifier, double* value,
                                           const AAX_IString* text) const override;
    AAX_Result GetParameterStringFromValue(AAX_CParamID identifier, double value, AAX_IString* text,
                                           int32_t maxLength) const override;
    /** The whole text: the limit is not applied. */
    AAX_Result GetParameterValueString(AAX_CParamID identifier, AAX_IString* text,
                                       int32_t maxLength) const override;
    AAX_Result GetParameterNormalizedValue(AAX_CParamID identifier, double* value) const override;
    // The value-changing operations refuse a value that is not finite with -20002, so no NaN
    // or infinity reaches a parameter or, through a derived class, the processor.
    /** A request through the host's automation. */
    AAX_Result SetParameterNormalizedValue(AAX_CParamID identifier, double value) override;
    /** The current value plus delta, limited to 0 to 1, through slots 23 and 24. */
    AAX_Result SetParameterNormalizedRelative(AAX_CParamID identifier, double delta) override;
    AAX_Result TouchParameter(AAX_CParamID identifier) override;
    AAX_Result ReleaseParameter(AAX_CParamID identifier) override;
    AAX_Result UpdateParameterTouch(AAX_CParamID identifier, bool touched) override;
    /** The host's answer: stores the value, marks its packets and counts a change. */
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID identifier, double value,
                                              int32_t updateSource) override;
    /** The current value plus delta, limited to 0 to 1, through slots 23 and 29. */
    AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID identifier, double delta) override;
    /** Posts the packets of the parameters updated since the last call. */
    AAX_Result GenerateCoefficients() override;
    /** Zeroes the field's data. */
    AAX_Result ResetFieldData(int32_t fieldIndex, void* data, uint32_t size) const override;
    AAX_Result GetNumberOfChunks(int32_t* count) const override;
    /** Index 0 is 'elck'; any other gives ID 0 and -20006. */
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
    /** -20007 for another ID. The size is remembered for GetChunk. */
    AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) override;
    /** -20008, the chunk untouched, when the size differs from the one GetChunkSize gave. */
    AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) override;
    /** Applies each entry to its parameter (through the host's automation when attached);
        non-finite and missing values are skipped. 0 whatever the content. */
    AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
    /** A chunk of another ID always compares equal. */
    AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* equal) override;
    AAX_Result GetNumberOfChanges(int32_t* changes) const override;
    AAX_Result TimerWakeup() override;
    /** Not implemented: -20009. */
    AAX_Result GetCurveData(AAX_CTypeID curveType, const float* values, uint32_t numValues,
                            float* outValues) const override;
    /** Nothing written. */
    AAX_Result GetCustomData(AAX_CTypeID dataBlockID, uint32_t size, void* data,
                             uint32_t* written) const override;
    AAX_Result SetCustomData(AAX_CTypeID dataBlockID, uint32_t size, const void* data) override;
    AAX_Result DoMIDITransfers() override;
    /** Not implemented: -20009. */
    AAX_Result RenderAudio_Hybrid(void* renderInfo) override;
    AAX_Result UpdateMIDINodes(int32_t fieldIndex, void* packet) override;
    AAX_Result UpdateControlMIDINodes(AAX_CTypeID nodeID, void* packet) override;

    /** Answers both versions of the effect-parameters interface with this object. */
    ACFResult InternalQueryInterface(const ACFGuid* iid, void** out) override;

    /** Creates the parameters and registers their packets; 0 here. */
    virtual AAX_Result EffectInit();

    /** Null before Initialize and after Uninitialize. */
    AAX_IController* Controller() const;
    AAX_ITransport* Transport() const;
    /** Keeps the parameter out of the chunk; null is ignored. */
    void FilterParameterIDOnSave(AAX_CParamID identifier);

protected:
    AAX_CPacketDispatcher mPacketDispatcher;
    AAX_CParameterManager mParameterManager;

private:
    /** Fills the parser from every parameter that is not filtered. */
    void BuildChunkData();
    /** Applies the parser's entries to the parameters, or only compares them; answers whether
        every parameter found its entry with an equal value. */
    bool ApplyChunkData(bool compareOnly);
    bool IsFiltered(AAX_CParamID identifier) const;
    /** The current value, read through slot 23, plus delta, limited to 0 to 1. */
    AAX_Result RelativeTarget(AAX_CParamID identifier, double delta, double& target) const;
    /** Deletes the parameters, then the host's objects, and forgets every host pointer. */
    void ReleaseHostObjects();

    std::atomic<int32_t> mNumChanges{0};
    int32_t mChunkSize = 0;
    AAX_CChunkDataParser mChunkParser;
    std::set<std::string, std::less<>> mFilteredParameterIDs;
    std::unique_ptr<AAX_IController> mController;
    std::unique_ptr<AAX_ITransport> mTransport;
    std::unique_ptr<AAX_IAutomationDelegate> mAutomationDelegate;
};
