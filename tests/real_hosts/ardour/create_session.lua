-- Builds a session with one 4-in/4-out track carrying Veridane, sets its gain and saves.
-- Run by ardour-lua: arg[1] session folder, arg[2] session name, arg[3] normalised gain.
-- Prints "veridane: key=value" lines for the driver; any failure raises an error naming the step.

local folder, name, gain = arg[1], arg[2], tonumber(arg[3])
assert(folder and name and gain, "usage: create_session.lua FOLDER NAME GAIN")

local kChannels = 4
local kSampleRate = 48000
-- Lets the engine run the plug-in for some blocks before the session is saved.
local kRunMicroseconds = 300000

local function report(key, value)
    print(string.format("veridane: %s=%s", key, tostring(value)))
end

if not create_session(folder, name, kSampleRate) then
    error("create session: Ardour could not create " .. folder)
end
report("backend", AudioEngine:current_backend_name())

local tracks = Session:new_audio_track(kChannels, kChannels, nil, 1, "B-format",
    ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
if tracks:size() ~= 1 then
    error("add track: Ardour made " .. tracks:size() .. " tracks")
end
local track = tracks:front()
report("track_inputs", track:n_inputs():n_audio())
report("track_outputs", track:n_outputs():n_audio())

local processor = ARDOUR.LuaAPI.new_plugin(Session, "Veridane", ARDOUR.PluginType.LXVST, "")
if processor:isnil() then
    error("load plug-in: Ardour does not know an LXVST plug-in named Veridane")
end
if track:add_processor_by_index(processor, 0, nil, true) ~= 0 then
    error("load plug-in: the track refused the plug-in")
end

local insert = processor:to_insert()
local plugin = insert:plugin(0)
report("instances", insert:get_count())
report("plugin_inputs", insert:natural_input_streams():n_audio())
report("plugin_outputs", insert:natural_output_streams():n_audio())
report("maker", plugin:maker())
report("parameters", plugin:parameter_count())
report("parameter_name", plugin:parameter_label(0))

if not ARDOUR.LuaAPI.set_processor_param(processor, 0, gain) then
    error("set gain: Ardour refused the parameter change")
end
ARDOUR.LuaAPI.usleep(kRunMicroseconds)
report("gain", ARDOUR.LuaAPI.get_processor_param(processor, 0, true))

if Session:save_state("", false, false, false, false, false) ~= 0 then
    error("save session: save_state failed")
end
close_session()
report("saved", "yes")
