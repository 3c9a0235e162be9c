// Numbered 32-bit properties of an effect, a component or a meter.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"

#include <cstdint>

class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;
    /** True when the host has the property; the value is written only then. */
    virtual bool GetProperty(uint32_t id, int32_t* value) const = 0;
    virtual AAX_Result AddProperty(uint32_t id, int32_t value) = 0;
    virtual AAX_Result RemoveProperty(uint32_t id) = 0;
    virtual AAX_Result AddPropertyWithIDArray(uint32_t id, const void* array, uint32_t count) = 0;
    virtual bool GetPropertyWithIDArray(uint32_t id, const void** array, uint32_t* count) const = 0;
};
