#pragma once
// Fills the callback table for an effect class built on the section driver.

#include "graphics/mouse_input.h"
#include "host/text_copy.h"
#include "host/vest.h"
#include "host/vest_editor.h"
#include "runtime/xalto.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace vrn
{

/// Host parameter handling shared by all section-driver effects (no effect-specific code).
struct ParameterRules
{
    /// Normalised value of `value` within `info`'s range, clamped to 0..1 (0 for an empty
    /// range).
    static double Normalise(const SliderInfo& info, double value);
    /// The slider value for normalised `x`, quantised to the step grid anchored at 0.
    /// A NaN `x` answers NaN (the caller ignores it); others are clamped to 0..1 first.
    static double Quantise(const SliderInfo& info, double x);
    /// The host display: the option label the value selects, else the value as "%.2f".
    static void Display(const SliderInfo& info, double value, char* text, std::size_t capacity);
};

/// The table entries for effect class `Effect` (most derived, so processing is direct).
template <class Effect>
VeSTCallbacks MakeEffectCallbacks()
{
    struct Entries
    {
        static Effect& Of(CVeST* w) { return *static_cast<Effect*>(w->effect); }

        static void Construct(CVeST* w)
        {
            const Effect& effect = Of(w);
            w->setNumInputs(effect.channelCount);
            w->setNumOutputs(effect.channelCount);
            w->setUniqueID(effect.uniqueID);
            if (EditorWindowAvailable())
                w->setEditor(new CVeSTEditor(w));
            w->programsAreChunks(true);
        }
        static void Destroy(CVeST* w) { delete static_cast<Effect*>(w->effect); }
        static void Open(CVeST* w) { Of(w).Reset(); }
        static void Suspend(CVeST* w) { Of(w).SuspendHook(); }
        static void Resume(CVeST* w) { Of(w).Resume(); }
        static void EditorIdle(CVeST* w) { Of(w).RedrawTick(); }
        static void Close(CVeST* w) { Of(w).CloseHook(); }

        // Editor events arrive from the window procedure: nothing may escape into it.
        static void EditorPaint(CVeST* w, int32, int32)
        {
            try
            {
                Of(w).GfxSection();
            }
            catch (...)
            {
            }
        }
        static void MouseDown(CVeST* w, int32 x, int32 y, int32 buttons)
        {
            mouseDown(Of(w), x, y, buttons);
        }
        static void MouseUp(CVeST* w, int32 x, int32 y, int32) { mouseUp(Of(w), x, y); }
        static void MouseMoved(CVeST* w, int32 x, int32 y, int32) { mouseMoved(Of(w), x, y); }

        static int32 VendorVersion(CVeST* w) { return Of(w).vendorVersion; }
        static bool VendorString(CVeST* w, char* text)
        {
            CopyText(text, kVendorTextCapacity, Of(w).vendorString);
            return true;
        }
        static bool ProductString(CVeST* w, char* text)
        {
            CopyText(text, kVendorTextCapacity, Of(w).productString);
            return true;
        }
        static bool EffectName(CVeST* w, char* text)
        {
            CopyText(text, kEffectNameCapacity, Of(w).effectName);
            return true;
        }
        static void ProgramName(CVeST* w, char* text)
        {
            CopyText(text, kProgramNameCapacity, Of(w).ProgramName());
        }
        static void SetProgramName(CVeST* w, const char* text)
        {
            Of(w).SetProgramName(std::string(text, BoundedLength(text, kMaxHostTextLength)));
        }
        static bool ProgramNameIndexed(CVeST*, int32, int32, char*) { return false; }

        static double GetParameter(CVeST* w, int32 index)
        {
            Effect& effect = Of(w);
            const SliderInfo* info = effect.FindSlider(index);
            return info ? ParameterRules::Normalise(*info, effect.Slider(info->sliderNumber)) : 0.0;
        }
        static void SetParameter(CVeST* w, int32 index, double x)
        {
            Effect& effect = Of(w);
            const SliderInfo* info = effect.FindSlider(index);
            if (!info)
                return;
            const double q = ParameterRules::Quantise(*info, x);
            SharedDouble& cell = effect.Slider(info->sliderNumber);
            if (std::isnan(q) || std::fabs(q - cell.Load()) < kTolerance)
                return;
            cell.Store(q);
            effect.SliderSection();
        }
        static void ParameterName(CVeST* w, int32 index, char* text)
        {
            if (const SliderInfo* info = Of(w).FindSlider(index))
                CopyText(text, kParameterTextCapacity, info->name);
        }
        static void ParameterLabel(CVeST* w, int32 index, char* text)
        {
            if (const SliderInfo* info = Of(w).FindSlider(index))
                CopyText(text, kParameterTextCapacity, info->label);
        }
        static void ParameterDisplay(CVeST* w, int32 index, char* text)
        {
            Effect& effect = Of(w);
            if (const SliderInfo* info = effect.FindSlider(index))
                ParameterRules::Display(*info, effect.Slider(info->sliderNumber), text,
                                        kParameterTextCapacity);
        }

        static void ProcessFloat(CVeST* w, float** inputs, float** outputs, int32 frames)
        {
            TXalto::Process(Of(w), inputs, outputs, frames);
        }
        static void ProcessDouble(CVeST* w, double** inputs, double** outputs, int32 frames)
        {
            TXalto::Process(Of(w), inputs, outputs, frames);
        }
        static int32 GetChunk(CVeST* w, void** data, bool) { return Of(w).GetState(data); }
        static int32 SetChunk(CVeST* w, void* data, int32 size, bool)
        {
            return Of(w).SetState(data, size);
        }
    };

    VeSTCallbacks table;
    table.construct = &Entries::Construct;
    table.destroy = &Entries::Destroy;
    table.open = &Entries::Open;
    table.suspend = &Entries::Suspend;
    table.resume = &Entries::Resume;
    table.editorIdle = &Entries::EditorIdle;
    table.close = &Entries::Close;
    table.editorPaint = &Entries::EditorPaint;
    table.mouseDown = &Entries::MouseDown;
    table.mouseUp = &Entries::MouseUp;
    table.mouseMoved = &Entries::MouseMoved;
    table.getVendorVersion = &Entries::VendorVersion;
    table.getVendorString = &Entries::VendorString;
    table.getProductString = &Entries::ProductString;
    table.getEffectName = &Entries::EffectName;
    table.getProgramName = &Entries::ProgramName;
    table.setProgramName = &Entries::SetProgramName;
    table.getProgramNameIndexed = &Entries::ProgramNameIndexed;
    table.getParameter = &Entries::GetParameter;
    table.setParameter = &Entries::SetParameter;
    table.getParameterName = &Entries::ParameterName;
    table.getParameterLabel = &Entries::ParameterLabel;
    table.getParameterDisplay = &Entries::ParameterDisplay;
    table.processReplacing = &Entries::ProcessFloat;
    table.processDoubleReplacing = &Entries::ProcessDouble;
    table.getChunk = &Entries::GetChunk;
    table.setChunk = &Entries::SetChunk;
    return table;
}

/// Builds effect `Effect` and its wrapper; answers the AEffect, or null (nothing leaks).
template <class Effect>
AEffect* CreatePlugin(audioMasterCallback audioMaster)
{
    try
    {
        auto effect = std::make_unique<Effect>();
        const auto numParams = static_cast<int32>(effect->SliderInfos().size());
        CVeST* wrapper =
            CVeST::Create(effect.get(), MakeEffectCallbacks<Effect>(), audioMaster, 1, numParams);
        if (!wrapper)
            return nullptr;
        // From here on the wrapper owns the effect.
        effect.release()->vest = wrapper;
        return wrapper->getAeffect();
    }
    catch (...)
    {
        return nullptr;
    }
}

} // namespace vrn
