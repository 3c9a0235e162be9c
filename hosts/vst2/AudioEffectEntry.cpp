// The functions of the effect record: the host's only way into the object. Each one finds the
// object through the record and keeps every exception on this side.
#include "hosts/vst2/AudioEffect.h"

namespace
{
AudioEffect* effectOf(AEffect* effect)
{
    return effect != nullptr ? static_cast<AudioEffect*>(effect->object) : nullptr;
}
} // namespace

intptr_t AudioEffect::dispatchEffectClass(AEffect* effect, int32_t opcode, int32_t index,
                                          intptr_t value, void* ptr, float opt)
{
    auto* const object = effectOf(effect);
    if (object == nullptr)
        return 0;

    if (opcode == effClose)
    {
        // The host lets go of the record after this call, so the object goes whatever
        // its close answered or threw.
        try
        {
            object->dispatcher(opcode, index, value, ptr, opt);
        }
        catch (...)
        {
        }
        delete object;
        return 1;
    }

    try
    {
        return object->dispatcher(opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        return 0;
    }
}

float AudioEffect::getParameterClass(AEffect* effect, int32_t index)
{
    auto* const object = effectOf(effect);
    if (object == nullptr)
        return 0.0f;
    try
    {
        return object->getParameter(index);
    }
    catch (...)
    {
        return 0.0f;
    }
}

void AudioEffect::setParameterClass(AEffect* effect, int32_t index, float value)
{
    auto* const object = effectOf(effect);
    if (object == nullptr)
        return;
    try
    {
        object->setParameter(index, value);
    }
    catch (...)
    {
    }
}

void AudioEffect::processClass(AEffect* effect, float** inputs, float** outputs,
                               int32_t sampleFrames)
{
    auto* const object = effectOf(effect);
    if (object == nullptr)
        return;
    try
    {
        object->process(inputs, outputs, sampleFrames);
    }
    catch (...)
    {
    }
}

void AudioEffect::processClassReplacing(AEffect* effect, float** inputs, float** outputs,
                                        int32_t sampleFrames)
{
    auto* const object = effectOf(effect);
    if (object == nullptr)
        return;
    try
    {
        object->processReplacing(inputs, outputs, sampleFrames);
    }
    catch (...)
    {
    }
}

void AudioEffect::processClassDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                              int32_t sampleFrames)
{
    auto* const object = effectOf(effect);
    if (object == nullptr)
        return;
    try
    {
        object->processDoubleReplacing(inputs, outputs, sampleFrames);
    }
    catch (...)
    {
    }
}
