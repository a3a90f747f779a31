#include "lua_gauges.h"

#include <lua.hpp>

#include <stdexcept>

namespace vorlanex::bench {

// The functions the chunk sees. Like a simulator's plugin interface they take
// handles bound at load; reads and writes skip argument checks, which only
// makes Lua's side faster.
struct LuaCalls {
  static LuaGauges& host(lua_State* state) {
    return *static_cast<LuaGauges*>(lua_touserdata(state, lua_upvalueindex(1)));
  }
  static int localBind(lua_State* state) {
    lua_pushinteger(state, host(state).shared_.bind(luaL_checkstring(state, 1)));
    return 1;
  }
  static int localGet(lua_State* state) {
    lua_pushnumber(state, host(state).shared_.get(static_cast<int>(lua_tointeger(state, 1))));
    return 1;
  }
  static int localSet(lua_State* state) {
    static const gauges::ScriptSite writer{"lua", "bench.lua", 0, ""};
    host(state).shared_.set(static_cast<int>(lua_tointeger(state, 1)), lua_tonumber(state, 2),
                            writer);
    return 0;
  }
  static int simBind(lua_State* state) {
    const char kind = luaL_checkstring(state, 1)[0];
    const int slot = host(state).aircraft_.bind(kind, luaL_checkstring(state, 2),
                                                static_cast<int>(luaL_checkinteger(state, 3)));
    lua_pushinteger(state, slot);
    return 1;
  }
  static int simGet(lua_State* state) {
    lua_pushnumber(state, host(state).aircraft_.get(static_cast<int>(lua_tointeger(state, 1))));
    return 1;
  }
};

LuaGauges::LuaGauges(const std::string& chunk, gauges::SharedVariables& shared,
                     gauges::SimulatedAircraft& aircraft)
    : state_(luaL_newstate()), shared_(shared), aircraft_(aircraft) {
  luaL_openlibs(state_);
  const struct {
    const char* name;
    lua_CFunction function;
  } calls[] = {{"lbind", LuaCalls::localBind},
               {"lget", LuaCalls::localGet},
               {"lset", LuaCalls::localSet},
               {"simbind", LuaCalls::simBind},
               {"sim", LuaCalls::simGet}};
  for (const auto& call : calls) {
    lua_pushlightuserdata(state_, this);
    lua_pushcclosure(state_, call.function, 1);
    lua_setglobal(state_, call.name);
  }
  if (luaL_loadstring(state_, chunk.c_str()) != LUA_OK || lua_pcall(state_, 0, 1, 0) != LUA_OK) {
    const std::string message = lua_tostring(state_, -1);
    lua_close(state_);
    throw std::runtime_error(message);
  }
  frame_ = luaL_ref(state_, LUA_REGISTRYINDEX);
}

LuaGauges::~LuaGauges() { lua_close(state_); }

void LuaGauges::runFrame(double seconds) {
  lua_rawgeti(state_, LUA_REGISTRYINDEX, frame_);
  if (lua_pcall(state_, 0, 0, 0) != LUA_OK) {
    const std::string message = lua_tostring(state_, -1);
    lua_pop(state_, 1);
    throw std::runtime_error(message);
  }
  aircraft_.advance(seconds);
}

}  // namespace vorlanex::bench
