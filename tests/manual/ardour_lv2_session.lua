-- Loads the LV2 bundle in Ardour without a screen: a session with one stereo track and the gate
-- on it, its controls as Ardour reads them, a control change, the latency it then reports, and
-- a save and reload. Not part of the test suites (Ardour is a large install). Run with
--   LV2_PATH=$PWD/build/linux-release/lv2-bundles ardour7-lua tests/manual/ardour_lv2_session.lua
-- (lilv takes only absolute folders in LV2_PATH).
local folder = os.getenv("VRN_ARDOUR_SESSION") or "/tmp/varne-gate-session"
local uri = "urn:uuid:7fede498-d643-400c-a564-91621919238f"

AudioEngine:set_backend("None (Dummy)", "", "")
AudioEngine:start(false)
local s = create_session(folder, "gate", 48000)
assert(s, "cannot create a session in " .. folder .. " (remove an old one first)")
local p = ARDOUR.LuaAPI.new_plugin(s, uri, ARDOUR.PluginType.LV2, "")
assert(not p:isnil(), "the plug-in was not found: is LV2_PATH set?")
local track = s:new_audio_track(2, 2, nil, 1, "gated", ARDOUR.PresentationInfo.max_order,
  ARDOUR.TrackMode.Normal, true):front()
assert(track:add_processor_by_index(p, 0, nil, true), "cannot insert the plug-in")

local plugin = p:to_insert():plugin(0)
print("plug-in:", plugin:name(), "ports:", plugin:parameter_count())
for i = 0, plugin:parameter_count() - 1 do
  if plugin:parameter_is_input(i) and plugin:parameter_is_control(i) then
    local _, t = plugin:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor())
    local d = t[2]
    print(i, plugin:parameter_label(i), ARDOUR.LuaAPI.get_processor_param(p, i, true),
      d.lower, d.upper, "integer", d.integer_step, "enumeration", d.enumeration)
  end
end

ARDOUR.LuaAPI.set_processor_param(p, 0, 3.0) -- Attack 3 ms
ARDOUR.LuaAPI.set_processor_param(p, 8, 1.0) -- Pre-Gate on
ARDOUR.LuaAPI.usleep(500000)
print("latency with Pre-Gate at 3 ms:", p:signal_latency(), "(expected 144)")
s:save_state("", false, false, false, false, false)
close_session()

assert(load_session(folder, "gate"), "cannot reload the session")
for route in Session:get_routes():iter() do
  local proc = route:nth_plugin(0)
  if not proc:isnil() then
    ARDOUR.LuaAPI.usleep(500000)
    print("reloaded:", route:name(), "Attack", ARDOUR.LuaAPI.get_processor_param(proc, 0, true),
      "Pre-Gate", ARDOUR.LuaAPI.get_processor_param(proc, 8, true),
      "latency", proc:signal_latency())
  end
end
close_session()
AudioEngine:stop()
