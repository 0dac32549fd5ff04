"""Workspace services, images and the mailbox connection through the orvane module."""
import os
import tempfile
import unittest

import orvane


class ConexionTest(unittest.TestCase):
    def setUp(self):
        self.temporal = tempfile.TemporaryDirectory()
        self.carpeta = self.temporal.name

    def tearDown(self):
        self.temporal.cleanup()

    def test_creatable_and_constants(self):
        for nombre in ("Kestrin.ORVW", "Kestrin.ORVImagen", "Linkmere.connection"):
            biblioteca, clase = nombre.split(".")
            with self.subTest(nombre=nombre):
                self.assertIsInstance(orvane.CreaObjeto(nombre),
                                      getattr(getattr(orvane, biblioteca), clase))
        self.assertEqual((orvane.NO_ERROR, orvane.ERROR_ALREADY_ASSIGNED,
                          orvane.ERROR_INVALID_PASSWORD, orvane.RESOURCE_GLOBALNET), (0, 85, 86, 2))

    def test_connect_events_and_release(self):
        avisos = []
        primera = orvane.Linkmere.connection()
        primera.NetDevice = self.carpeta + "/"
        self.assertEqual(primera.NetDevice, self.carpeta)
        primera.LocalUnit = "w"
        primera.eventos.Connected.conecta(lambda: avisos.append("Connected"))
        self.assertEqual(primera.Connect(), 0)
        self.assertEqual((primera.LocalUnit, primera.Carpeta), ("W", self.carpeta))

        segunda = orvane.CreaObjeto("Linkmere.connection")
        segunda.NetDevice = self.carpeta
        segunda.LocalUnit = "W"
        segunda.eventos.LinkmereError.conecta(lambda n: avisos.append(n))
        self.assertEqual(segunda.Connect(), orvane.ERROR_ALREADY_ASSIGNED)
        self.assertEqual(segunda.ErrorDescription, "Letra de unidad ya asignada")
        self.assertEqual(segunda.LocalUnit, "")
        self.assertEqual(avisos, ["Connected", 85])
        with self.assertRaises(AttributeError):
            segunda.ErrorDescription = "x"

        del primera  # releasing disconnects
        segunda.LocalUnit = "W"
        self.assertEqual(segunda.Connect(), 0)
        segunda.eventos.Disconnected.conecta(lambda: avisos.append("Disconnected"))
        self.assertEqual(segunda.Disconnect(), 0)
        self.assertEqual(avisos, ["Connected", 85, "Disconnected"])

        perdida = orvane.Linkmere.connection()
        perdida.NetDevice = os.path.join(self.carpeta, "no-existe")
        self.assertEqual(perdida.Connect(), 67)
        self.assertEqual(perdida.ErrorDescription, "Nombre de red incorrecto")
        perdida.ErrorNumber = 86
        self.assertEqual(perdida.ErrorDescription, "Contraseña incorrecta")

    def test_workspace_reads_its_profile(self):
        buzon = os.path.join(self.carpeta, "buzón")
        os.mkdir(buzon)
        with open(os.path.join(self.carpeta, "ORV.INI"), "wb") as f:
            f.write(("[Buzón]\r\nURL=%s\\\r\nusername=ana\r\npassword=secreta\r\n" % buzon)
                    .encode("cp1252"))
        w = orvane.Kestrin.ORVW(carpeta=self.carpeta)
        self.assertEqual(w.Perfil, os.path.join(self.carpeta, "ORV.INI"))
        self.assertEqual(w.COLFIX, 14737632)
        self.assertEqual(w.NetCnx.ErrorNumber, 0)
        self.assertEqual(w.NetCnx.Carpeta, buzon)
        self.assertEqual((w.NetCnx.username, w.NetCnx.password), ("ana", ""))
        self.assertEqual(w.GetProfile("BUZÓN", "Username", "", w.Perfil), "ana")
        self.assertEqual(w.GetProfile("Buzón", "falta", "def", w.Perfil), "def")

        claves = os.path.join(self.carpeta, "claves.rsa")
        self.assertTrue(w.WriteProfile("Clave 1", "Nº de bits", "512", claves))
        self.assertFalse(w.WriteProfile("Clave 1", "Clave", "1\n[x]", claves))
        self.assertEqual(w.GetProfile("clave 1", "nº de bits", "0", claves), "512")
        with open(claves, "rb") as f:
            self.assertEqual(f.read(), b"[Clave 1]\r\nN\xba de bits=512\r\n")
        self.assertTrue(w.ExistFileDir(claves))
        self.assertFalse(w.ExistFileDir(claves + "x"))
        self.assertEqual(w.XTrim("abc\0\0\0"), "abc")
        self.assertEqual((w.Eval("palabra"), w.Eval(3), w.Eval(None)), (0.0, 3.0, 0.0))
        otra = orvane.Linkmere.connection()
        w.NetCnx = otra
        self.assertIs(w.NetCnx, otra)


class ImagenTest(unittest.TestCase):
    def test_bitmaps_and_phrases(self):
        imagenes = orvane.CreaObjeto("Kestrin.ORVImagen")
        sha = imagenes.Bitmap("SHA")
        self.assertEqual((sha.ancho, sha.alto, len(sha.pixeles)), (20, 30, 600))
        self.assertEqual(sha.pixel(0, 0), 0xFFC0C0C0)
        self.assertEqual(imagenes.Bitmap("shA"), sha)
        self.assertIsNone(imagenes.Bitmap("XX"))
        self.assertEqual(imagenes.Bitmap("SHA", escala=3).ancho, 60)
        self.assertIsNone(imagenes.Bitmap("SHA", escala=0))
        self.assertIsNone(imagenes.Icon("SHA"))
        self.assertEqual(len(orvane.Kestrin.ORVImagen.Identificadores()), 28)
        self.assertEqual([len(imagenes.Str(n)) for n in range(1, 7)], [30, 19, 18, 15, 15, 27])
        with self.assertRaises(orvane.ErrorORV) as error:
            imagenes.Str(7)
        self.assertEqual(error.exception.numero, 326)
        with self.assertRaises(IndexError):
            sha.pixel(20, 0)


if __name__ == "__main__":
    unittest.main()
