// Decoding of the type info records, their functions, variables and
// implemented-interface references, and of constant values.
#include <cstring>

#include "typeinfo/msft/msft_parser.h"

namespace velbrook::typeinfo::msft {

namespace {

constexpr int32_t kInvokePropGet = 2, kInvokePropPut = 4, kInvokePropPutRef = 8;

bool IsPropertyAccessor(int32_t invoke_kind) {
  return invoke_kind == kInvokePropGet || invoke_kind == kInvokePropPut ||
         invoke_kind == kInvokePropPutRef;
}

// Keeps only the bytes a VARIANT of this VT gives meaning to, so that the
// value agrees with what oleaut32 hands over.
void KeepMeaningfulBytes(Variant* v) {
  size_t keep = 4;
  switch (v->vt) {
    case 16:
    case 17:
      keep = 1;
      break;  // VT_I1, VT_UI1
    case 2:
    case 18:
    case 11:
      keep = 2;
      break;  // VT_I2, VT_UI2, VT_BOOL
    case 5:
    case 6:
    case 7:
    case 20:
    case 21:
      keep = 8;
      break;
    case 8:
      keep = 0;
      break;  // VT_BSTR: text only
    default:
      break;
  }
  for (size_t i = keep; i < 8; ++i) v->value[i] = 0;
}

}  // namespace

// A constant: a negative offset packs VT (bits 26-30) and a 26-bit value;
// otherwise it is an offset into the custom data table: VT u16, then 4 or 8
// value bytes, or for VT_BSTR a length i32 (-1: null) and the characters.
Status MsftParser::ReadValue(int32_t offset, Variant* out, const std::string& where) const {
  *out = Variant();
  if (offset < 0) {
    out->vt = uint16_t((uint32_t(offset) & 0x7C000000u) >> 26);
    out->SetInt64(int64_t(uint32_t(offset) & 0x03FFFFFFu));
    KeepMeaningfulBytes(out);
    return Status();
  }
  const Segment& c = segments_[kSegCustData];
  size_t at = size_t(c.offset + offset);
  if (!SegmentHas(kSegCustData, offset, 2) || !file_.U16At(at, &out->vt)) {
    return Corrupt(where + ": constant offset " + Hex(offset) +
                   " is past the custom data table (size " + Hex(c.length) + ")");
  }
  size_t size = 0;
  switch (out->vt) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 10:
    case 11:
    case 16:
    case 17:
    case 18:
    case 19:
    case 22:
    case 23:
    case 24:
    case 25:
      size = 4;
      break;
    case 5:
    case 6:
    case 7:
    case 20:
    case 21:
    case 14:
    case 64:
      size = 8;
      break;
    case 8: {
      int32_t len = 0;
      if (!SegmentHas(kSegCustData, int64_t(offset) + 2, 4) || !file_.I32At(at + 2, &len)) {
        return Corrupt(where + ": string constant at " + Hex(offset) +
                       " runs past the custom data table");
      }
      if (len == -1) return Status();
      if (len < 0 || !SegmentHas(kSegCustData, int64_t(offset) + 6, len)) {
        return Corrupt(where + ": string constant of length " + std::to_string(len) +
                       " runs past the custom data table (size " + Hex(c.length) + ")");
      }
      const char* chars = reinterpret_cast<const char*>(file_.data() + at + 6);
      out->has_text = true;
      out->text.assign(chars, strnlen(chars, size_t(len)));
      return Status();
    }
    default:
      return Status();  // a value the loader does not read: VT only
  }
  if (!SegmentHas(kSegCustData, int64_t(offset) + 2, int64_t(size))) {
    return Corrupt(where + ": constant at " + Hex(offset) +
                   " runs past the custom data table (size " + Hex(c.length) + ")");
  }
  std::memcpy(out->value, file_.data() + at + 2, size);
  KeepMeaningfulBytes(out);
  return Status();
}

Status MsftParser::ParseTypeInfos() {
  out_.types.resize(size_t(type_count_));
  for (int32_t i = 0; i < type_count_; ++i) {
    Status done = ParseTypeInfo(i, &out_.types[size_t(i)]);
    if (!done) return done.error();
  }
  return Status();
}

// Type info record (0x64 bytes):
//   0x00 typekind (low nibble TKIND, bits 11-15 cbAlignment)   0x04 memoffset
//   (file offset of the member block)   0x08 res2   0x0C res3   0x10 res4
//   0x14 res5   0x18 cElement (low word cFuncs, high word cVars)
//   0x1C res7   0x20 res8   0x24 res9   0x28 resA   0x2C posguid
//   0x30 flags (TYPEFLAGS)   0x34 NameOffset   0x38 version
//   0x3C docstringoffs   0x40 helpstringcontext   0x44 helpcontext
//   0x48 oCustData   0x4C cImplTypes i16   0x4E cbSizeVft i16   0x50 cbSizeInstance
//   0x54 datatype1 (coclass: reference table offset; interface: href of the
//   base; alias: the aliased type)   0x58 datatype2   0x5C res18   0x60 res19
// Reference table records (16 bytes): reftype, flags, oCustData, onext.
Status MsftParser::ParseTypeInfo(int index, TypeInfoRecord* t) {
  size_t base = size_t(segments_[kSegTypeInfo].offset) + size_t(index) * 0x64;
  int32_t kind = 0, memoffset = 0, element = 0, posguid = 0, flags = 0, name_offset = 0, doc = 0,
          datatype1 = 0;
  int16_t impl_count = 0, vft_size = 0;
  uint32_t size = 0;
  std::string where = "type info " + std::to_string(index);
  if (!file_.I32At(base + 0x00, &kind) || !file_.I32At(base + 0x04, &memoffset) ||
      !file_.I32At(base + 0x18, &element) || !file_.I32At(base + 0x2C, &posguid) ||
      !file_.I32At(base + 0x30, &flags) || !file_.I32At(base + 0x34, &name_offset) ||
      !file_.I32At(base + 0x3C, &doc) || !file_.I16At(base + 0x4C, &impl_count) ||
      !file_.I16At(base + 0x4E, &vft_size) || !file_.U32At(base + 0x50, &size) ||
      !file_.I32At(base + 0x54, &datatype1)) {
    return Corrupt(where + ": record is past the end of the file");
  }

  t->type_kind = kind & 0x0F;
  t->type_flags = uint16_t(flags);
  t->func_count = uint16_t(uint32_t(element) & 0xFFFF);
  t->var_count = uint16_t(uint32_t(element) >> 16);
  t->impl_type_count = uint16_t(impl_count);
  t->vtable_size = uint16_t(vft_size);
  t->instance_size = size;
  t->alignment = uint16_t((uint32_t(kind) >> 11) & 0x1F);
  t->has_guid = GuidAt(posguid, &t->guid);
  t->name = Name(name_offset);
  t->help = String(doc);
  uint32_t hreftype = 0;
  const bool named = name_offset >= 0 && SegmentHas(kSegName, name_offset, 4) &&
                     file_.U32At(size_t(segments_[kSegName].offset + name_offset), &hreftype);
  t->hreftype = named ? hreftype : 0xFFFFFFFFu;

  if (t->type_kind == kTypeKindAlias) {
    std::string problem;
    if (!CheckDataType(datatype1, &out_, &problem)) {
      return Corrupt(where + ": aliased type " + problem);
    }
    t->has_alias = true;
    t->alias_type = datatype1;
  }
  if (t->impl_type_count > 0) {
    if (t->type_kind == kTypeKindCoclass) {
      t->has_impls = true;
      t->impls.resize(t->impl_type_count);
      int32_t offset = datatype1;
      for (size_t j = 0; j < t->impls.size(); ++j) {
        const std::string entry = where + ": implemented interface " + std::to_string(j);
        if (offset < 0) {
          return Corrupt(where + ": its reference chain ends after " + std::to_string(j) + " of " +
                         std::to_string(t->impls.size()) + " implemented interfaces");
        }
        size_t at = size_t(segments_[kSegRef].offset + offset);
        if (!SegmentHas(kSegRef, offset, 16) || !file_.U32At(at, &t->impls[j].href) ||
            !file_.I32At(at + 4, &t->impls[j].flags)) {
          return Corrupt(entry + ": reference offset " + Hex(offset) +
                         " is not in the reference table (size " + Hex(segments_[kSegRef].length) +
                         ")");
        }
        // Every entry has a record of its own: a chain that loops, or runs
        // into another coclass's records, would let a few bytes stand for
        // 65535 entries in every coclass.
        if (!used_refs_.insert(offset).second) {
          return Corrupt(entry + ": reference record at " + Hex(offset) + " is used twice");
        }
        if (!file_.I32At(at + 12, &offset)) return Corrupt(entry + ": no next reference");
      }
    } else if (t->type_kind != kTypeKindDispatch || datatype1 != -1) {
      t->has_impls = true;
      t->impls.push_back({uint32_t(datatype1), 0});
    }
  }
  // The member block is decoded when the members are asked for.
  t->member_block = memoffset;
  t->members_decoded = t->func_count == 0 && t->var_count == 0;
  return Status();
}

// Member block at memoffset: infolen i32 (bytes of records that follow),
// the records (functions first, then variables), then three arrays of
// cFuncs + cVars entries: member ids, name offsets, record offsets
// (relative to the first record).
// Function record: Info i32 (low word: record size), DataType i32, Flags
//   i32, VtableOffset i16, funcdescsize i16, FKCCIC i32 (bits 0-2 FUNCKIND,
//   3-6 INVOKEKIND, 7 custom data, 8-11 CALLCONV, 12 default values),
//   nrargs i16, nroargs i16, then optional HelpContext, oHelpString,
//   oEntry, res9, resA, HelpStringContext, oCustData, oArgCustData[], then
//   (with bit 12) one default value per argument, then per argument
//   DataType i32, oName i32, Flags i32.
// Variable record: Info i32 (low byte: record size), DataType i32, Flags
//   i32, VarKind i16, vardescsize i16, OffsValue i32 (a constant's value,
//   or a field's offset in its record), then optional HelpContext, HelpString, res9, oCustData,
//   HelpStringContext.
Status MsftParser::DecodeMembers(size_t index, MsftFile* file) {
  if (index >= file->types.size()) return Status();
  return ParseMembers(int(index), file);
}

Status MsftParser::ParseMembers(int index, MsftFile* file) {
  TypeInfoRecord* t = &file->types[size_t(index)];
  const int64_t block = t->member_block;
  const std::string where = "type info " + std::to_string(index);
  std::string problem;
  const int64_t n_funcs = t->func_count, n_vars = t->var_count, n_all = n_funcs + n_vars;
  int32_t infolen = 0;
  if (block < 0 || !file_.I32At(size_t(block), &infolen)) {
    return Corrupt(where + ": member block offset " + Hex(block) +
                   " is past the end of the file (size " + Hex(int64_t(file_.size())) + ")");
  }
  int64_t arrays = block + 4 + int64_t(infolen);
  if (infolen < 0 || !file_.Contains(size_t(block) + 4, size_t(infolen)) ||
      !file_.Contains(size_t(arrays), size_t(n_all) * 12)) {
    return Corrupt(where + ": member block at " + Hex(block) + " (records " + Hex(infolen) +
                   " bytes, " + std::to_string(n_all) +
                   " members) runs past the end of the file (size " + Hex(int64_t(file_.size())) +
                   ")");
  }
  // Member ids, then name offsets, then record offsets, one per member.
  ByteReader slots;
  if (!file_.Slice(size_t(arrays), size_t(n_all) * 12, &slots)) {
    return Corrupt(where + ": member arrays at " + Hex(arrays) + " are past the end of the file");
  }
  // Every slot asked for is below 3 * n_all, inside the slice: the read
  // cannot fail.
  auto array_at = [&slots](int64_t slot) {
    int32_t value = 0;
    return slots.I32At(size_t(slot) * 4, &value) ? value : 0;
  };
  const int64_t records_end = block + 4 + infolen;
  int64_t rec = block + 4;
  t->funcs.resize(size_t(n_funcs));
  std::vector<std::pair<size_t, size_t>> param_runs;  // per function: first, count
  param_runs.reserve(size_t(n_funcs));
  for (int64_t i = 0; i < n_funcs; ++i) {
    FuncRecord& f = t->funcs[size_t(i)];
    // Messages are built only on the way out of a corrupt block.
    auto fwhere = [&where, i] { return where + " function " + std::to_string(i); };
    uint32_t info = 0;
    int32_t datatype = 0, fkccic = 0;
    int16_t nrargs = 0;
    if (rec + 0x18 > records_end || !file_.U32At(size_t(rec), &info) ||
        !file_.I32At(size_t(rec + 4), &datatype) ||
        !file_.I16At(size_t(rec + 0x0C), &f.vtable_offset) ||
        !file_.I32At(size_t(rec + 0x10), &fkccic) || !file_.I16At(size_t(rec + 0x14), &nrargs)) {
      return Corrupt(fwhere() + ": record at " + Hex(rec) + " is past the member records (end " +
                     Hex(records_end) + ")");
    }
    int64_t len = info & 0xFFFF;
    if (len < 0x18 || len > records_end - rec) {
      return Corrupt(fwhere() + ": record size " + Hex(len) + " at " + Hex(rec) +
                     " is outside 0x18.." + Hex(records_end - rec));
    }
    int64_t arg_bytes = int64_t(nrargs) * ((fkccic & 0x1000) ? 16 : 12);
    if (nrargs < 0 || arg_bytes > len - 0x18) {
      return Corrupt(fwhere() + ": " + std::to_string(nrargs) + " arguments do not fit its " +
                     Hex(len) + "-byte record");
    }
    int64_t optional = len - arg_bytes;
    f.member_id = array_at(i);
    f.func_kind = fkccic & 0x7;
    f.invoke_kind = (fkccic >> 3) & 0xF;
    if (!CheckDataType(datatype, file, &problem)) {
      return Corrupt(fwhere() + ": return type " + problem);
    }
    f.return_type = datatype;
    // The help string offset is read only when all four of its bytes lie
    // in the record's optional part.
    int32_t help = 0;
    if (optional >= 0x20 && file_.I32At(size_t(rec + 0x1C), &help)) f.help = String(help);
    int32_t name_offset = array_at(n_all + i);
    if (name_offset == -1 && i > 0 && IsPropertyAccessor(t->funcs[size_t(i) - 1].invoke_kind) &&
        IsPropertyAccessor(f.invoke_kind)) {
      f.name = t->funcs[size_t(i) - 1].name;  // the pair shares one name
    } else {
      f.name = Name(name_offset);
    }
    int64_t params = rec + len - int64_t(nrargs) * 12;
    param_runs.emplace_back(t->params.size(), size_t(nrargs));
    for (int16_t j = 0; j < nrargs; ++j) {
      ParamRecord& p = t->params.emplace_back();
      int32_t ptype = 0, pname = 0, pflags = 0;
      if (!file_.I32At(size_t(params + j * 12), &ptype) ||
          !file_.I32At(size_t(params + j * 12 + 4), &pname) ||
          !file_.I32At(size_t(params + j * 12 + 8), &pflags)) {
        return Corrupt(fwhere() + " argument " + std::to_string(j) +
                       " is past the end of the file");
      }
      if (!CheckDataType(ptype, file, &problem)) {
        return Corrupt(fwhere() + " argument " + std::to_string(j) + ": type " + problem);
      }
      p.type = ptype;
      p.flags = uint16_t(pflags);
      if (pname != -1) p.name = Name(pname);
    }
    rec += len;
  }
  // The runs point into t->params only now that it is complete.
  for (size_t i = 0; i < param_runs.size(); ++i) {
    t->funcs[i].params = ParamSpan(t->params.data() + param_runs[i].first, param_runs[i].second);
  }
  if (n_vars > 0) {
    rec = block + 4 + int64_t(array_at(n_all * 2 + n_funcs));
  }
  t->vars.resize(size_t(n_vars));
  for (int64_t i = 0; i < n_vars; ++i) {
    VarRecord& v = t->vars[size_t(i)];
    auto vwhere = [&where, i] { return where + " variable " + std::to_string(i); };
    uint32_t info = 0;
    int32_t datatype = 0, offs_value = 0;
    if (rec < block + 4 || rec + 0x14 > records_end || !file_.U32At(size_t(rec), &info) ||
        !file_.I32At(size_t(rec + 4), &datatype) || !file_.I16At(size_t(rec + 0x0C), &v.var_kind) ||
        !file_.I32At(size_t(rec + 0x10), &offs_value)) {
      return Corrupt(vwhere() + ": record at " + Hex(rec) + " is outside the member records (" +
                     Hex(block + 4) + ".." + Hex(records_end) + ")");
    }
    int64_t len = info & 0xFF;
    if (len < 0x14 || len > records_end - rec) {
      return Corrupt(vwhere() + ": record size " + Hex(len) + " at " + Hex(rec) +
                     " is outside 0x14.." + Hex(records_end - rec));
    }
    if (!CheckDataType(datatype, file, &problem)) {
      return Corrupt(vwhere() + ": type " + problem);
    }
    v.type = datatype;
    v.member_id = array_at(n_funcs + i);
    v.name = Name(array_at(n_all + n_funcs + i));
    // As for functions: all four bytes of the help offset in the record.
    int32_t help = 0;
    if (len >= 0x1C && file_.I32At(size_t(rec + 0x18), &help)) v.help = String(help);
    if (v.var_kind == 0) v.instance_offset = uint32_t(offs_value);  // VAR_PERINSTANCE
    if (v.var_kind == 2) {                                          // VAR_CONST
      Status read = ReadValue(offs_value, &v.value, vwhere());
      if (!read) return read.error();
    }
    rec += len;
  }
  return Status();
}

}  // namespace velbrook::typeinfo::msft
