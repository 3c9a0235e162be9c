-- Reloads a saved session, reports Veridane's restored gain and, when asked, saves the session
-- again so the plug-in writes its state afresh.
-- Run by ardour-lua: arg[1] session folder, arg[2] session name, arg[3] "save" or "keep".

local folder, name, action = arg[1], arg[2], arg[3]
assert(folder and name and (action == "save" or action == "keep"),
    "usage: reload_session.lua FOLDER NAME save|keep")

-- Lets the engine run the restored plug-in for some blocks.
local kRunMicroseconds = 300000

local function report(key, value)
    print(string.format("veridane: %s=%s", key, tostring(value)))
end

-- The insert whose plug-in is Veridane; a plug-in that failed to load shows up as an unknown
-- processor without one, which must not pass for the real thing.
local function findVeridane()
    for route in Session:get_routes():iter() do
        local index = 0
        while true do
            local processor = route:nth_plugin(index)
            if processor:isnil() then
                break
            end
            local insert = processor:to_insert()
            if not insert:isnil() and insert:plugin(0):name() == "Veridane" then
                return processor, insert
            end
            index = index + 1
        end
    end
    return nil
end

if not load_session(folder, name) then
    error("reload session: Ardour could not load " .. folder .. "/" .. name)
end
report("backend", AudioEngine:current_backend_name())

local processor, insert = findVeridane()
if not processor then
    error("reload session: no working Veridane instance in the restored session")
end
ARDOUR.LuaAPI.usleep(kRunMicroseconds)
report("instances", insert:get_count())
report("plugin_inputs", insert:natural_input_streams():n_audio())
report("plugin_outputs", insert:natural_output_streams():n_audio())
report("gain", ARDOUR.LuaAPI.get_processor_param(processor, 0, true))

if action == "save" then
    if Session:save_state("", false, false, false, false, false) ~= 0 then
        error("save session: save_state failed")
    end
    report("saved", "yes")
end
close_session()
report("closed", "yes")
